#include "workstation/Unitdmlang.h"

#include "localization/Lxcomp.h"
#include "rtl/Files.h"
#include "rtl/Folders.h"
#include "workstation/Unitdebug.h"

TDMLang* DMLang = nullptr;

YORDE_IMPLEMENT_CLASS(TDMLang,
                      [](TClassBuilder<TDMLang>& c) { c.Field("lxLangDispatcher1", &TDMLang::lxLangDispatcher1); })

namespace {

struct Language {
    const char* Marker;
    const char* Code;  // of the platform's own texts
};
const Language kLanguages[] = {{"pl.lang", "pl"}, {"en.lang", "en"}, {"ru.lang", "ru"}};

}  // namespace

const char* LanguageMarkerFile(int Language) {
    return Language >= 1 && Language <= 3 ? kLanguages[Language - 1].Marker : "";
}

TDMLang::TDMLang(TComponent* AOwner) : TDataModule(AOwner) {
    InitLayout();
    const AnsiString dir = ProgramDir();
    // The first marker found wins.
    int chosen = 0;
    for (int language = 1; language <= 3 && !chosen; ++language)
        if (FileExists(dir + LanguageMarkerFile(language))) chosen = language;
    if (chosen)
        lxLangDispatcher1->SetActiveLanguage(chosen);
    else
        // An unwritable folder only means the marker is made again next time.
        FileCreateAndClose(dir + LanguageMarkerFile(1));
    // The file dialogs and the toolkit's buttons speak the session's language.
    const int language = lxLangDispatcher1->ActiveLanguage();
    if (language >= 1 && language <= 3 && !Application->SetLanguage(kLanguages[language - 1].Code))
        DebugLog(AnsiString("No toolkit texts in ") + kLanguages[language - 1].Code);
}

TDMLang::~TDMLang() { Application->SetLanguage(AnsiString()); }
