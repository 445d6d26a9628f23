#include "workstation/Unitdmlang.h"

#include "localization/Lxcomp.h"
#include "rtl/Files.h"
#include "rtl/Folders.h"

TDMLang* DMLang = nullptr;

YORDE_IMPLEMENT_CLASS(TDMLang,
                      [](TClassBuilder<TDMLang>& c) { c.Field("lxLangDispatcher1", &TDMLang::lxLangDispatcher1); })

namespace {
const char* const kMarkers[] = {"pl.lang", "en.lang", "ru.lang"};
}

const char* LanguageMarkerFile(int Language) { return Language >= 1 && Language <= 3 ? kMarkers[Language - 1] : ""; }

TDMLang::TDMLang(TComponent* AOwner) : TDataModule(AOwner) {
    InitLayout();
    const AnsiString dir = ProgramDir();
    // The first marker found wins.
    for (int language = 1; language <= 3; ++language) {
        if (FileExists(dir + LanguageMarkerFile(language))) {
            lxLangDispatcher1->SetActiveLanguage(language);
            return;
        }
    }
    // An unwritable folder only means the marker is made again next time.
    FileCreateAndClose(dir + LanguageMarkerFile(1));
}
