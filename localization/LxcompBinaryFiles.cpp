// LXB files seen from the translation component.
#include "classes/FileStream.h"
#include "localization/LXBFile.h"
#include "localization/LxExtended.h"
#include "localization/LxcompDispatcher.h"
#include "localization/LxcompLang.h"
#include "rtl/StrUtils.h"

namespace {
// The dispatcher's manager when it serves this file, else a new one.
template <class F>
void withBinaryManager(TlxLangDispatcher* Dispatcher, const AnsiString& FileName, F Use) {
    if (Dispatcher && Dispatcher->BinaryFileManager() && AnsiSameText(Dispatcher->FileName(), FileName)) {
        Use(*Dispatcher->BinaryFileManager());
        return;
    }
    TLXBFileManager manager;
    Use(manager);
}
}  // namespace

void TlxCustomLang::adoptDelimiter(TlxCustomLang& Read) const {
    // The copy skipped every after-loading step: old TAB data and another
    // delimiter are converted before its entries join this component's.
    Read.migrateTabDelimiters();
    if (Read.langDelim_ != langDelim_) {
        Read.ChangeLangDelim(Read.langDelim_, langDelim_);
        Read.langDelim_ = langDelim_;
    }
}

void TlxCustomLang::takeList(TlxCustomLang& Read, TStringsType Type) {
    TStrings* mine = GetPropListByType(Type);
    TStrings* theirs = Read.GetPropListByType(Type);
    if (!mine || !theirs) return;
    mine->Assign(theirs);
    if (!Owner() || (Type != stCaptions && Type != stHints && Type != stDisplayLabels && Type != stCollections)) return;
    // The owner's own entry leads its list.
    const AnsiString start = Owner()->ClassName() + langDelim_;
    for (int i = 1; i < mine->Count(); ++i)
        if (mine->Strings(i).compare(0, start.size(), start) == 0) {
            mine->Move(i, 0);
            break;
        }
}

void TlxCustomLang::takeEntry(TlxCustomLang& Read) {
    adoptDelimiter(Read);
    for (int t = 0; t < StringsTypeCount; ++t) takeList(Read, TStringsType(t));
    SetLangNames(Read.LangNames());
    extended_->Clear();
    for (int i = 0; i < Read.extended_->Count(); ++i) {
        const TlxExtendedItem* from = Read.extended_->GetItems(i);
        TlxExtendedItem* item = extended_->Add();
        item->SetIdentifier(from->GetIdentifier());
        item->SetPropertyType(from->PropertyType());
        item->SetValues(from->Values());
    }
}

void TlxCustomLang::SaveAllToBinaryFile(const AnsiString& AFileName) {
    TLXBFileManager manager(AFileName);
    manager.Add(this);
    manager.SaveToFile(AFileName);
}

void TlxCustomLang::LoadAllFromBinaryFile(const AnsiString& AFileName) {
    if (!Owner()) return;
    const AnsiString ownerName = Owner()->ClassName();
    withBinaryManager(LangDispatcher(), AFileName,
                      [&](TLXBFileManager& m) { m.LoadFromFile(this, ownerName, AFileName); });
    UpdateStrCollections();
    ChangeLanguage();
}

void TlxCustomLang::LoadAllFromBinaryStream(TStream* Stream) {
    if (!Owner() || !Stream) return;
    TLXBFileManager manager;
    manager.LoadFromStream(this, Owner()->ClassName(), Stream);
    UpdateStrCollections();
    ChangeLanguage();
}

void TlxCustomLang::LoadPropFromBinaryFile(TStringsType Type, const AnsiString& AFileName) {
    if (!Owner()) return;
    TLXBFileManager manager;
    manager.LoadPropFromFile(Type, AFileName, this, Owner()->ClassName());
    if (Type == stStrings) UpdateStrCollections();
}
