#include "localization/LxcompDispatcher.h"

#include "classes/Streams.h"
#include "localization/LXBFile.h"

#include "rtl/Convert.h"
#include "rtl/Files.h"
#include "rtl/Paths.h"
#include "rtl/StrUtils.h"

#include <algorithm>

TlxLangDispatcher::TlxLangDispatcher(TComponent* AOwner)
    : TComponent(AOwner), langNames_(std::make_unique<TStringList>()) {
    langNames_->Add("Language N1");
}

TlxLangDispatcher::~TlxLangDispatcher() {
    while (!langs_.empty()) {
        TlxCustomLang* lang = langs_.back();
        lang->SetLangDispatcher(nullptr);
        if (!langs_.empty() && langs_.back() == lang) langs_.pop_back();
    }
}

void TlxLangDispatcher::Loaded() { TComponent::Loaded(); }

void TlxLangDispatcher::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove || !AComponent) return;
    // By address: a component in its last stage of destruction is no longer
    // recognisable by its type.
    auto it = std::find_if(langs_.begin(), langs_.end(),
                           [AComponent](TlxCustomLang* l) { return static_cast<TComponent*>(l) == AComponent; });
    if (it != langs_.end()) langs_.erase(it);
}

void TlxLangDispatcher::RemovePossibleReference(TlxCustomLang* Lang) {
    auto it = std::find(langs_.begin(), langs_.end(), Lang);
    if (it == langs_.end()) return;
    langs_.erase(it);
    // A component that names this dispatcher keeps hearing when it goes.
    if (Lang->LangDispatcher() != this) RemoveFreeNotification(Lang);
}

TlxCustomLang* TlxLangDispatcher::GetLxLangs(int Index) const {
    if (Index < 0 || Index >= int(langs_.size()))
        throw EListError("List index out of bounds (" + IntToStr(Index) + ")");
    return langs_[size_t(Index)];
}

void TlxLangDispatcher::AddReference(TlxCustomLang* Lang) {
    if (!Lang) return;
    RemovePossibleReference(Lang);
    langs_.push_back(Lang);
    // Registered directly, a component need not name this dispatcher: hear
    // when it is freed, whatever its owner.
    FreeNotification(Lang);
    Lang->SetNumLang(numOfLanguages_);
    Lang->LangNames()->SetText(langNames_->Text());
    Lang->AssignLanguageField(language_);
    if (ComponentState().Contains(csDesigning)) {
        Lang->SetActLang(activeLanguage_);
        return;
    }
    if (fileName_.empty()) {
        Lang->SetActLang(activeLanguage_);
    } else {
        Lang->AssignActiveLanguageField(activeLanguage_);
        if (lxIsBinaryFile(fileName_)) {
            if (!binaryManager_) binaryManager_ = std::make_unique<TLXBFileManager>();
            if (FileExists(fileName_)) Lang->LoadAllFromBinaryFile(fileName_);
        } else {
            Lang->LoadAllFromFile(fileName_, true);
        }
    }
    if (OnLinkToDispatcher) OnLinkToDispatcher(this, Lang);
}

void TlxLangDispatcher::SetActiveLanguage(int Value) {
    if (!isLoading()) {
        // Checked against every component first, so that a bad value
        // changes nothing instead of switching half the application.
        if (Value < 1 || Value > numOfLanguages_) RaiseLanguageRange(Value, numOfLanguages_);
        for (TlxCustomLang* lang : langs_)
            if (Value > lang->NumOfLanguages()) RaiseLanguageRange(Value, lang->NumOfLanguages());
    }
    activeLanguage_ = Value;
    // By index: applying a language may register or free components.
    for (size_t i = 0; i < langs_.size(); ++i) langs_[i]->SetActLang(activeLanguage_);
    if (!isLoading() && langNames_->Count() >= activeLanguage_) language_ = langNames_->Strings(activeLanguage_ - 1);
}

void TlxLangDispatcher::SetNumOfLanguages(int Value) {
    CheckLanguageCount(Value);
    numOfLanguages_ = Value;
    while (langNames_->Count() < Value) langNames_->Add("Language N" + IntToStr(langNames_->Count() + 1));
    while (langNames_->Count() > Value) langNames_->Delete(langNames_->Count() - 1);
    for (size_t i = 0; i < langs_.size(); ++i) langs_[i]->SetNumLang(numOfLanguages_);
}

void TlxLangDispatcher::SetLangNames(TStrings* Value) {
    if (Value == langNames_.get()) return;
    const int count = Value ? Value->Count() : 0;
    // The names' own index error, raised before anything changes.
    if (count > 0 && activeLanguage_ > count)
        throw EStringListError("List index out of bounds (" + IntToStr(activeLanguage_ - 1) + ")");
    if (Value)
        langNames_->Assign(Value);
    else
        langNames_->Clear();
    if (count > 0) language_ = langNames_->Strings(activeLanguage_ - 1);
    for (size_t i = 0; i < langs_.size(); ++i) {
        langs_[i]->LangNames()->Assign(langNames_.get());
        langs_[i]->SetLanguage(language_);
    }
    SetNumOfLanguages(count > 0 ? count : 1);
}

void TlxLangDispatcher::SetLanguage(const AnsiString& Value) {
    if (Value == language_) return;
    if (langNames_->Count() > 0 && langNames_->IndexOf(Value) < 0)
        throw ELanguageError("Language name shall be included in LangNames property!");
    language_ = Value;
    if (!isLoading() && langNames_->Count() > 0) SetActiveLanguage(langNames_->IndexOf(language_) + 1);
}

void TlxLangDispatcher::takeFirstLanguages() {
    if (langs_.empty()) return;
    langNames_->Assign(langs_.front()->LangNames());
    numOfLanguages_ = langs_.front()->NumOfLanguages();
}

void TlxLangDispatcher::LoadAllFromFile(const AnsiString& AFileName) {
    if (lxIsBinaryFile(AFileName)) {
        for (size_t i = 0; i < langs_.size(); ++i) langs_[i]->LoadAllFromBinaryFile(AFileName);
    } else {
        for (size_t i = 0; i < langs_.size(); ++i) langs_[i]->LoadAllFromFileDNC(AFileName, true);
        for (size_t i = 0; i < langs_.size(); ++i) langs_[i]->ChangeLanguage();
    }
    takeFirstLanguages();
}

void TlxLangDispatcher::LoadAllFromStream(TStream* Stream) {
    if (!Stream) return;
    const int64_t start = Stream->Position();
    for (size_t i = 0; i < langs_.size(); ++i) {
        Stream->SetPosition(start);
        langs_[i]->LoadAllFromBinaryStream(Stream);
    }
    takeFirstLanguages();
}

void TlxLangDispatcher::SaveAllToFile(const AnsiString& AFileName, const AnsiString& Second) {
    for (size_t i = 0; i < langs_.size(); ++i) langs_[i]->SaveAllToFile(AFileName, Second);
}

void TlxLangDispatcher::SaveAllToBinaryFile(const AnsiString& AFileName) {
    for (size_t i = 0; i < langs_.size(); ++i) langs_[i]->SaveAllToBinaryFile(AFileName);
}
