#include "workstation/DialogLanguage.h"

#include "localization/Lxcomp.h"
#include "rtl/Languages.h"

TlxLangDispatcher* ProgramLangDispatcher() {
    TComponent* module = FindGlobalRoot("DMLang");
    return module ? dynamic_cast<TlxLangDispatcher*>(module->FindComponent("lxLangDispatcher1")) : nullptr;
}

int ProgramLanguage() {
    const TlxLangDispatcher* dispatcher = ProgramLangDispatcher();
    const int language = dispatcher ? dispatcher->ActiveLanguage() : 1;
    return LanguageNumbered(language) ? language : 1;
}
