#include "QtHost.h"

#include "qt/QtPlatform.h"

#include "vcl/Forms.h"

namespace yorde::qt {

int RunPlaceholderWindow(int argc, char** argv, const char* title) {
    QtApplication app(argc, argv);
    TForm* form = nullptr;
    Application->CreateForm(form);
    form->SetCaption(Utf8ToAnsi(title));
    form->SetClientSize(792, 566);
    form->SetPosition(poScreenCenter);
    Application->Run();
    return 0;
}

}  // namespace yorde::qt
