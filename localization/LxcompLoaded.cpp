// After-loading fix-ups, notifications and renaming of the translation component.
#include "localization/LxExtended.h"
#include "localization/LxTextRoutines.h"
#include "localization/LxcompDispatcher.h"
#include "localization/LxcompLang.h"
#include "localization/MemIni.h"
#include "rtl/StrUtils.h"

#include <algorithm>

void TlxCustomLang::Loaded() {
    TComponent::Loaded();
    if (temporaryCopy_ || !Owner()) return;
    runLoadedSteps();
}

bool TlxCustomLang::hasOldTabDelimiters() const {
    // Genuine old data has no current delimiter at all; a TAB inside a text
    // of current data must not trigger the conversion.
    auto current = [this](const AnsiString& e) { return e.find(langDelim_) != AnsiString::npos; };
    auto tabs = [](const AnsiString& e) { return int(std::count(e.begin(), e.end(), '\t')); };
    auto firstEntry = [](TStrings* list, AnsiString& e) {
        if (!list || list->Count() == 0) return false;
        e = list->Strings(0);
        return true;
    };
    AnsiString e;
    if (firstEntry(DlgsCaptions(), e) && tabs(e) > 0 && !current(e)) return true;
    if (firstEntry(Locales(), e) && tabs(e) > 0 && !current(e)) return true;
    if (firstEntry(Captions(), e) && tabs(e) == numOfLanguages_ + 1 && !current(e)) return true;
    if (firstEntry(Hints(), e) && tabs(e) == numOfLanguages_ + 1 && !current(e)) return true;
    return false;
}

void TlxCustomLang::migrateTabDelimiters() {
    if (langDelim_ == '\t') {
        ChangeLangDelim('\t', 1);
        langDelim_ = 1;
    }
    if (hasOldTabDelimiters()) {
        ChangeLangDelim(langDelim_, '\t');
        ChangeLangDelim('\t', langDelim_);
    }
}

void TlxCustomLang::runLoadedSteps() {
    FillNewDialogs();
    if (options_.Contains(loUseExtCommonStrings)) {
        DlgsCaptions()->Clear();
        Locales()->Clear();
    }
    migrateTabDelimiters();
    // Data written before the month and day names were kept.
    if (Locales()->Count() == 11)
        for (int i = 11; i < LocaleKeyCount; ++i)
            Locales()->Add(AnsiString(LocaleKeys[size_t(i)]) + langDelim_ + systemLocale_[size_t(i)] + langDelim_);
    if (langDispatcher_) langDispatcher_->AddReference(this);
    ExcludeProperties();
    if (IsDesigning())
        NormalizeStrings();
    else
        LoadStringsColl(stringsColl_.get(), 0);
    if (isInheritedOwner_) ChangeLanguage();
    if (!IsDesigning() && handleResourceStrings_ && Owner()) {
        // Built before the claim, so that the first translated load finds it.
        LoadStringsColl(resStringsColl_.get(), resourceLanguageIndex_);
        claimResourceTranslator();
    }
    if (IsDesigning()) {
        for (int i = extended_->Count() - 1; i >= 0; --i) {
            TlxExtendedItem* item = extended_->GetItems(i);
            const AnsiString first = ExtractWord(1, item->StoredIdentifier(), ".");
            TComponent* related = SameText(first, Owner()->ClassName()) ? Owner() : Owner()->FindComponent(first);
            if (related)
                item->SetRelComponent(related);
            else
                extended_->Delete(i);
        }
    }
}

void TlxCustomLang::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (!AComponent || Operation != opRemove || AComponent == this) return;
    if (AComponent == langDispatcher_) {
        setDispatcherPointer(nullptr);
        return;
    }
    if (dynamic_cast<TlxCustomLang*>(AComponent)) return;
    if (!AComponent->Name().empty()) {
        const int i = doNotTranslate_->IndexOf(AComponent->Name());
        if (i >= 0) doNotTranslate_->Delete(i);
    }
    for (TStringsType t : {stCaptions, stHints, stDisplayLabels, stFonts, stMultiLines, stOtherStrings})
        MakeNotification(List(t), AComponent, Operation, t);
    MakeNotification(CharSets(), AComponent, Operation, stFonts);
    MakeNotification(Collections(), AComponent, Operation, stCollections);
    MakeNotification(smartExcludeProps_.get(), AComponent, Operation, stOtherStrings);
    if (!AComponent->Name().empty()) {
        const AnsiString prefix = AComponent->Name() + ".";
        for (int i = extended_->Count() - 1; i >= 0; --i) {
            TlxExtendedItem* item = extended_->GetItems(i);
            if (item->RelComponent() == AComponent) item->SetRelComponent(nullptr);
            if (item->StoredIdentifier().compare(0, prefix.size(), prefix) == 0) extended_->Delete(i);
        }
    }
}

void TlxCustomLang::MakeNotification(TStrings* List, TComponent* AComponent, TOperation Operation,
                                     TStringsType StrType) {
    if (Operation != opRemove || !IsDesigning() || !List || List->Count() == 0 || !AComponent) return;
    AnsiString prefix = AComponent == Owner() ? AComponent->ClassName() : AComponent->Name();
    if (prefix.empty()) return;
    if (StrType == stMultiLines || StrType == stOtherStrings || StrType == stCollections)
        prefix += '.';
    else
        prefix += langDelim_;
    for (int i = List->Count() - 1; i >= 0; --i)
        if (List->Strings(i).compare(0, prefix.size(), prefix) == 0) List->Delete(i);
}

void TlxCustomLang::ComponentRenamed(const AnsiString& OldName, const AnsiString& NewName) {
    if (NewName.empty()) return;
    AnsiString oldKey = OldName;
    AnsiString newKey = NewName;
    if (Owner() && OldName == Owner()->Name()) {
        // The owner's entries are keyed by its class name.
        oldKey = "T" + oldKey;
        newKey = "T" + newKey;
    }
    const AnsiString wordDelims = AnsiString(".") + langDelim_;
    auto rename = [&](TStrings* list) {
        if (!list) return;
        for (int i = 0; i < list->Count(); ++i) {
            const AnsiString entry = list->Strings(i);
            if (ExtractWord(1, entry, wordDelims) == oldKey)
                list->SetStrings(i, ReplaceStr(entry, oldKey, newKey, false));
        }
    };
    for (int t = 0; t < StringsTypeCount; ++t) rename(GetPropListByType(TStringsType(t)));
    rename(doNotTranslate_.get());
    rename(smartExcludeProps_.get());
    const AnsiString oldPrefix = OldName + ".";
    for (int i = 0; i < extended_->Count(); ++i) {
        TlxExtendedItem* item = extended_->GetItems(i);
        const AnsiString id = item->StoredIdentifier();
        if (id.compare(0, oldPrefix.size(), oldPrefix) == 0) item->SetIdentifier(NewName + id.substr(OldName.size()));
    }
}
