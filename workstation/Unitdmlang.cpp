#include "workstation/Unitdmlang.h"

#include "localization/Lxcomp.h"
#include "rtl/Files.h"
#include "rtl/Folders.h"
#include "rtl/Languages.h"
#include "workstation/Unitdebug.h"

TDMLang* DMLang = nullptr;

YORDE_IMPLEMENT_CLASS(TDMLang,
                      [](TClassBuilder<TDMLang>& c) { c.Field("lxLangDispatcher1", &TDMLang::lxLangDispatcher1); })

AnsiString LanguageMarkerFile(int Language) {
    const TLanguage* language = LanguageNumbered(Language);
    return language ? AnsiString(language->Code) + ".lang" : AnsiString();
}

TDMLang::TDMLang(TComponent* AOwner) : TDataModule(AOwner) {
    InitLayout();
    const AnsiString dir = ProgramDir();
    // The first marker found wins.
    int chosen = 0;
    for (int language = 1; language <= LanguageCount && !chosen; ++language)
        if (FileExists(dir + LanguageMarkerFile(language))) chosen = language;
    if (chosen)
        lxLangDispatcher1->SetActiveLanguage(chosen);
    else
        // An unwritable folder only means the marker is made again next time.
        FileCreateAndClose(dir + LanguageMarkerFile(1));
    // The file dialogs and the toolkit's buttons speak the session's language.
    const TLanguage* language = LanguageNumbered(lxLangDispatcher1->ActiveLanguage());
    if (language && !Application->SetLanguage(language->Code))
        DebugLog(AnsiString("No toolkit texts in ") + language->Code);
}

TDMLang::~TDMLang() { Application->SetLanguage(AnsiString()); }
