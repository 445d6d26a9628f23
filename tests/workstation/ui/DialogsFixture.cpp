#include "DialogsFixture.h"

#include "classes/Thread.h"

namespace dialogstest {

TModalResult RunModal(TCustomForm* Form, std::function<void(TCustomForm*)> Script) {
    SetModalHook([Script](TCustomForm* f) -> TModalResult {
        TThread::Queue(nullptr, [Script, f] { Script(f); });
        return mrNone;
    });
    TModalResult result = Form->ShowModal();
    SetModalHook(nullptr);
    return result;
}

}  // namespace dialogstest
