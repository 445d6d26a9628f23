#pragma once
// The language data module: holds the dispatcher that every translation
// component of the program follows, and picks the program's language from
// the marker file beside the program ("pl.lang", "en.lang", ...: the code of
// a language of rtl/Languages.h).
#include "vcl/Forms.h"

class TlxLangDispatcher;

class TDMLang : public TDataModule {
    YORDE_CLASS(TDMLang, TDataModule)
public:
    TlxLangDispatcher* lxLangDispatcher1 = nullptr;

    // Reads the layout, then sets the language from the marker files, the
    // first language's first; with none present it creates the first
    // language's marker and keeps the stored language 1.
    // The platform's own texts (file dialogs) follow that language while the
    // module lives.
    explicit TDMLang(TComponent* AOwner);
    ~TDMLang() override;
};

extern TDMLang* DMLang;

// The marker file of language 1..LanguageCount ("pl.lang"); empty for
// another number.
AnsiString LanguageMarkerFile(int Language);
