// Switching the active language and the number of languages, and applying
// the active language to the owner.
#include "localization/LxTextRoutines.h"
#include "localization/LxVclSeam.h"
#include "localization/LxcompDispatcher.h"
#include "localization/LxcompLang.h"
#include "localization/MemIni.h"
#include "rtl/Convert.h"
#include "rtl/StrUtils.h"

#include <initializer_list>

namespace {
// Shows a cursor for the lifetime of a scope, and puts the previous one
// back however the scope is left.
class CursorScope {
public:
    CursorScope() = default;
    CursorScope(const CursorScope&) = delete;
    CursorScope& operator=(const CursorScope&) = delete;
    ~CursorScope() { Restore(); }
    void Show(int Cursor) {
        saved_ = lxGetScreenCursor();
        lxSetScreenCursor(Cursor);
        changed_ = true;
    }
    void Restore() {
        if (!changed_) return;
        changed_ = false;
        lxSetScreenCursor(saved_);
    }

private:
    int saved_ = 0;
    bool changed_ = false;
};
}  // namespace

void TlxCustomLang::SetActLang(int Value) {
    if (Value == ActiveLanguage()) return;
    if (Value < 1 || Value > numOfLanguages_) {
        if (IsLoading()) return;
        RaiseLanguageRange(Value, numOfLanguages_);
    }
    applySelector_ = -1;
    CursorScope cursor;
    if (changingCursor_ != lxCursorNoChange && lxGetScreenCursor() == lxCursorDefault && !IsDesigning())
        cursor.Show(changingCursor_);
    // Record the texts of the language being left (design time).
    if (IsDesigning() && (langDispatcher_ || !IsLoading())) BuildList();
    activeLanguage_.store(Value, std::memory_order_release);
    if (!IsLoading() && langNames_->Count() >= Value) language_ = langNames_->Strings(Value - 1);
    // While loading without a dispatcher the language is applied later.
    if (!langDispatcher_ && IsLoading()) return;
    ChangeLanguage();
}

void TlxCustomLang::SetNumLang(int Value) {
    if (Value == numOfLanguages_) return;
    CheckLanguageCount(Value);
    if (Value < numOfLanguages_) {
        // Each entry keeps everything up to the delimiter after language Value;
        // an entry that already holds no more languages stays as it is.
        const AnsiString delims(1, langDelim_);
        for (int t = 0; t < StringsTypeCount; ++t) {
            TStrings* list = GetPropListByType(TStringsType(t));
            if (!list) continue;
            for (int i = 0; i < list->Count(); ++i) {
                const AnsiString entry = list->Strings(i);
                const int cut = WordPosition(Value + 2, entry, delims);
                if (cut > 0) list->SetStrings(i, entry.substr(0, size_t(cut - 1)));
            }
        }
    }
    numOfLanguages_ = Value;
    if (IsDesigning() && !IsLoading()) NormalizeStrings();
    while (langNames_->Count() < Value) langNames_->Add("Language N" + IntToStr(langNames_->Count() + 1));
    while (langNames_->Count() > Value) langNames_->Delete(langNames_->Count() - 1);
    if (!IsDesigning() && !IsLoading()) {
        NormalizeStrings();
        UpdateStrCollections();
    }
}

AnsiString TlxCustomLang::translatedText(const AnsiString& Entry) const {
    return entryText(Entry, translateType_ == ttGetDefault, true);
}

bool TlxCustomLang::GetTranslateOwner() const { return Owner() && doNotTranslate_->IndexOf(Owner()->ClassName()) < 0; }

void TlxCustomLang::applyOwnerText(TStringsType Type, const char* PropName) {
    TStrings* list = List(Type);
    TComponent* owner = Owner();
    if (list->Count() == 0 || !GetTranslateOwner()) return;
    if (smartExcludeProps_->IndexOf(owner->ClassName() + "." + PropName) >= 0) return;
    if (!lxStringProp(owner, PropName)) return;
    const AnsiString entry = list->Strings(0);
    if (!AnsiSameText(ExtractTranslation(entry, langDelim_, 0), owner->ClassName())) return;
    const AnsiString text = translatedText(entry);
    if (text.empty() || lxHasAssignedAction(owner)) return;
    if (GetStrProp(owner, PropName) != text) SetStrProp(owner, PropName, text);
}

void TlxCustomLang::applyOwnerFont() {
    TComponent* owner = Owner();
    if (Fonts()->Count() == 0 || !GetTranslateOwner()) return;
    if (smartExcludeProps_->IndexOf(owner->ClassName() + ".Font") >= 0) return;
    if (!lxClassProp(owner, "Font", "TFont")) return;
    const AnsiString entry = Fonts()->Strings(0);
    if (!AnsiSameText(ExtractTranslation(entry, langDelim_, 0), owner->ClassName())) return;
    applyFont(owner, owner->ClassName(), translatedText(entry), false);
}

void TlxCustomLang::ChangeLanguage() {
    if (temporaryCopy_ || !Owner()) return;
    const int selector = applySelector_;
    auto selected = [selector](std::initializer_list<int> types) {
        if (selector == -1) return true;
        for (int t : types)
            if (t == selector) return true;
        return false;
    };
    applyOwnerText(stCaptions, "Caption");
    applyOwnerText(stHints, "Hint");
    if (selected({stCaptions})) ApplyTranslationList(Captions(), stCaptions);
    if (selected({stHints})) ApplyTranslationList(Hints(), stHints);
    if (selected({stDisplayLabels})) ApplyTranslationList(DisplayLabels(), stDisplayLabels);
    if (selected({stFonts, stCharSets}) && !ownerHasNoFont_) ApplyTranslationList(Fonts(), stFonts);
    applyOwnerFont();
    if (selected({stMultiLines})) ApplyTranslationList(MultiLines(), stMultiLines);
    if (selected({stOtherStrings})) ApplyTranslationList(OtherStrings(), stOtherStrings);
    if (selected({stLocales}) && changeLocales_) ApplyTranslationList(Locales(), stLocales);
    if (selected({stCollections})) ApplyTranslationList(Collections(), stCollections);
    if (selector == -1) ChangeLangForExtended();
    if (OnChangeLanguage) OnChangeLanguage(this);
}
