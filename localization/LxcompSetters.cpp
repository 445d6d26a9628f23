// Property setters of the translation component that do more than store.
#include "localization/LxStringsCollection.h"
#include "localization/LxcompDispatcher.h"
#include "localization/LxcompLang.h"
#include "rtl/Format.h"

#include <mutex>

namespace {
// Copies Value into List (an absent list empties it).
void assignList(TStrings* List, TStrings* Value) {
    if (Value)
        List->Assign(Value);
    else
        List->Clear();
}

// Bytes that would break the stored entries as delimiters: NUL ends texts,
// CR and LF end lines, 0x19 and 0x1A stand for CR and LF inside texts.
bool breaksStorage(char c) { return c == '\0' || c == '\r' || c == '\n' || c == '\x19' || c == '\x1A'; }
}  // namespace

void TlxCustomLang::setDispatcherPointer(TlxLangDispatcher* Value) {
    std::unique_lock<std::shared_mutex> lock(collLock_);
    langDispatcher_ = Value;
}

void TlxCustomLang::SetLangDispatcher(TlxLangDispatcher* Value) {
    if (Value != langDispatcher_ && langDispatcher_) {
        langDispatcher_->RemovePossibleReference(this);
        langDispatcher_->RemoveFreeNotification(this);
    }
    setDispatcherPointer(Value);
    if (!Value) return;
    // The dispatcher usually lives on another root: hear when it goes.
    Value->FreeNotification(this);
    if (!IsLoading()) {
        if (Owner() && !temporaryCopy_) Value->AddReference(this);
    } else {
        // Registration follows in Loaded.
        numOfLanguages_ = Value->NumOfLanguages();
    }
}

void TlxCustomLang::SetVersion(const AnsiString&) { version_ = "5.2.5"; }

void TlxCustomLang::SetLangDelim(unsigned char Value) {
    const char delim = char(Value);
    if (delim == langDelim_) return;
    if (IsLoading()) {
        // Stored nonsense is ignored; the data keeps the default delimiter.
        if (!breaksStorage(delim)) langDelim_ = delim;
        return;
    }
    if (breaksStorage(delim)) throw ELanguageError(Format("%d - is not a valid language delimiter!", {int(Value)}));
    for (int t = 0; t < StringsTypeCount; ++t) {
        TStrings* list = GetPropListByType(TStringsType(t));
        for (int i = 0; list && i < list->Count(); ++i)
            if (list->Strings(i).find(delim) != AnsiString::npos)
                throw ELanguageError(
                    Format("%d - is not a valid language delimiter!\rThe texts already contain it.", {int(Value)}));
    }
    ChangeLangDelim(langDelim_, delim);
    langDelim_ = delim;
}

void TlxCustomLang::SetStringsTypes(TStrings* Value) {
    if (Value == stringsTypes_.get()) return;
    assignList(stringsTypes_.get(), Value);
    if (!IsLoading()) BuildList();
}

void TlxCustomLang::SetSmartProps(TStrings* Value) {
    if (Value == smartExcludeProps_.get()) return;
    assignList(smartExcludeProps_.get(), Value);
    if (!IsLoading()) BuildList();
}

void TlxCustomLang::SetExProps(TStrings* Value) {
    if (Value == excludedProperties_.get()) return;
    assignList(excludedProperties_.get(), Value);
    if (!IsLoading()) {
        ExcludeProperties();
        BuildList();
    }
}

void TlxCustomLang::SetDoNotList(TStrings* Value) {
    if (Value == doNotTranslate_.get()) return;
    assignList(doNotTranslate_.get(), Value);
    if (!IsLoading()) ReBuildDoNotList();
}

void TlxCustomLang::SetLangNames(TStrings* Value) {
    if (Value == langNames_.get()) return;
    assignList(langNames_.get(), Value);
    const int count = langNames_->Count();
    // Never fewer than one language; the name follows only when it exists.
    if (count > 0 && ActiveLanguage() <= count) language_ = langNames_->Strings(ActiveLanguage() - 1);
    const int newCount = count > 0 ? count : 1;
    if (newCount == numOfLanguages_) return;
    numOfLanguages_ = newCount;
    if (!IsLoading()) UpdateStrCollections();
}

void TlxCustomLang::SetLanguage(const AnsiString& Value) {
    if (Value == language_) return;
    const int index = langNames_->IndexOf(Value);
    if (index < 0) throw ELanguageError("Language name shall be included in LangNames property!");
    language_ = Value;
    if (!IsLoading()) SetActLang(index + 1);
}

void TlxCustomLang::SetNeedAllDlgs(bool Value) {
    if (Value == needAllDlgs_) return;
    needAllDlgs_ = Value;
    if (!IsLoading()) FillNewDialogs();
}

void TlxCustomLang::SetOptions(TlxLangOptions Value) {
    if (Value == options_) return;
    options_ = Value;
    if (Value.Contains(loUseExtCommonStrings) && IsDesigning()) {
        DlgsCaptions()->Clear();
        Locales()->Clear();
    }
}

void TlxCustomLang::SetResourceLanguageIndex(unsigned short Value) {
    if (Value == resourceLanguageIndex_) return;
    if (!IsLoading() && (Value == 0 || Value > numOfLanguages_)) RaiseLanguageRange(Value, numOfLanguages_);
    resourceLanguageIndex_ = Value;
    if (!IsLoading() && !IsDesigning()) {
        std::unique_lock<std::shared_mutex> lock(collLock_);
        resStringsColl_->SetSortLanguage(Value);
        resStringsColl_->Sort();
    }
}
