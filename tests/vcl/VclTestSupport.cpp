#include "VclTestSupport.h"

HookScope::HookScope() {
    Application->OnException = [this](TObject*, std::exception_ptr e) { errors.push_back(e); };
    SetMessageBoxHook([this](const AnsiString& Text, const AnsiString& Caption, int) {
        messages.push_back(Text);
        captions.push_back(Caption);
        return IDOK;
    });
}

HookScope::~HookScope() {
    Application->OnException = nullptr;
    SetMessageBoxHook(nullptr);
    SetModalHook(nullptr);
    SetHaltHook(nullptr);
}
