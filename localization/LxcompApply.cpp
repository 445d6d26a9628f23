// Applying one list of entries to the owner's components through RTTI, and
// pruning entries whose component or property is gone.
#include "classes/Collections.h"
#include "localization/LxPropPaths.h"
#include "localization/LxTextRoutines.h"
#include "localization/LxVclSeam.h"
#include "localization/LxcompLang.h"
#include "localization/MemIni.h"
#include "rtl/FormatSettings.h"
#include "rtl/Paths.h"
#include "rtl/StrUtils.h"

#include <algorithm>
#include <utility>

namespace {
// A relative path counts as equal when it expands to the current value.
bool sameValue(const AnsiString& Current, const AnsiString& Text) {
    if (Current == Text) return true;
    const bool relative = Text.find("..") != AnsiString::npos || Text.find(".\\") != AnsiString::npos ||
                          Text.find("./") != AnsiString::npos;
    return relative && ExpandFileName(Text) == Current;
}
}  // namespace

bool TlxCustomLang::ObjectHasProperty(const TObject* Object, const AnsiString& PropName, TTypeKinds Kinds,
                                      const AnsiString& TypeName) {
    const TPropInfo* p = GetPropInfo(Object, PropName, Kinds);
    if (!p) return false;
    return TypeName.empty() || (p->PropType && AnsiSameText(p->PropType->Name, TypeName));
}

AnsiString TlxCustomLang::GetObjectStrProperty(const TObject* Object, const AnsiString& PropName) {
    const TPropInfo* p = lxStringProp(Object, PropName);
    return p ? GetStrProp(Object, p) : AnsiString();
}

void TlxCustomLang::SetObjectStrProperty(TObject* Object, const AnsiString& PropName, const AnsiString& Value) {
    const TPropInfo* p = lxStringProp(Object, PropName);
    if (p && p->SetStr) SetStrProp(Object, p, Value);
}

TComponent* TlxCustomLang::findTarget(const AnsiString& ComponentName) const {
    TComponent* owner = Owner();
    if (!owner || ComponentName.empty()) return nullptr;
    if (TComponent* c = owner->FindComponent(ComponentName)) return c;
    if (AnsiSameText(ComponentName, owner->ClassName()) || AnsiSameText(ComponentName, owner->Name())) return owner;
    return nullptr;
}

// The owner's own caption, hint and font follow the same exclusions in the
// list appliers as in the owner steps of ChangeLanguage.
bool TlxCustomLang::ownerEntryApplies(TStringsType Type) const {
    if (!GetTranslateOwner()) return false;
    const char* prop = Type == stCaptions ? "Caption" : Type == stHints ? "Hint" : Type == stFonts ? "Font" : nullptr;
    return !prop || smartExcludeProps_->IndexOf(Owner()->ClassName() + "." + prop) < 0;
}

bool TlxCustomLang::isExcludedName(const AnsiString& ComponentName) const {
    return doNotTranslate_->IndexOf(ComponentName) >= 0;
}

void TlxCustomLang::ApplyTranslationList(TStrings* List, TStringsType Type) {
    if (!List) return;
    if (Type != stDlgsCaptions && Type != stStrings && Type != stLocales) DelOldNames(List, Type);
    for (int i = 0; i < List->Count();) {
        const AnsiString entry = List->Strings(i);
        const AnsiString key = ExtractTranslation(entry, langDelim_, 0);
        const AnsiString text = translatedText(entry);
        if (Type == stLocales) {
            if (!text.empty()) applyLocale(key, text);
        } else if (Type == stCollections) {
            if (!isExcludedName(KeyComponent(key)) && !applyCollectionEntry(key, text)) {
                List->Delete(i);
                continue;
            }
        } else {
            const bool path = Type == stMultiLines || Type == stOtherStrings;
            const AnsiString name = path ? KeyComponent(key) : key;
            TComponent* target = findTarget(name);
            if (target && !isExcludedName(name) && (target != Owner() || ownerEntryApplies(Type)))
                applyEntry(Type, key, text, target);
        }
        ++i;
    }
}

void TlxCustomLang::applyEntry(TStringsType Type, const AnsiString& Key, const AnsiString& Text, TComponent* Target) {
    switch (Type) {
    case stCaptions:
    case stHints: {
        const char* prop = Type == stCaptions ? "Caption" : "Hint";
        if (Text.empty() || lxHasAssignedAction(Target)) return;
        const TPropInfo* p = lxStringProp(Target, prop);
        if (p && p->SetStr && GetStrProp(Target, p) != Text) SetStrProp(Target, p, Text);
        return;
    }
    case stDisplayLabels:
    case stOtherStrings: {
        if (Text.empty()) return;
        AnsiString prop = "DisplayLabel";
        TObject* holder = Target;
        if (Type == stOtherStrings) holder = WalkPath(Target, AfterFirstDot(Key), prop);
        const TPropInfo* p = holder ? lxStringProp(holder, prop) : nullptr;
        if (p && p->SetStr && !sameValue(GetStrProp(holder, p), Text)) SetStrProp(holder, p, Text);
        return;
    }
    case stFonts: applyFont(Target, Key, Text, true); return;
    case stMultiLines: {
        if (Text.empty()) return;
        AnsiString prop;
        if (TObject* holder = WalkPath(Target, AfterFirstDot(Key), prop)) applyMultiLines(holder, prop, Text);
        return;
    }
    default: return;
    }
}

void TlxCustomLang::applyFont(TComponent* Target, const AnsiString& Key, const AnsiString& Text,
                              bool HonourParentFont) {
    if (HonourParentFont && lxBoolPropTrue(Target, "ParentFont")) return;
    const TPropInfo* fontProp = lxClassProp(Target, "Font", "TFont");
    TObject* font = fontProp ? GetObjectProp(Target, fontProp) : nullptr;
    if (!font) return;
    bool changed = false;
    int charset = 0;
    if (CharsetFromName(GetStringValue(CharSets(), Key, ActiveLanguage()), charset)) {
        const TPropInfo* p = GetPropInfo(font, "Charset", KindBit(tkInteger));
        if (p && p->SetOrd && GetOrdProp(font, p) != charset) {
            SetOrdProp(font, p, charset);
            changed = true;
        }
    }
    if (!Text.empty()) {
        const TPropInfo* p = lxStringProp(font, "Name");
        if (p && p->SetStr && GetStrProp(font, p) != Text) {
            SetStrProp(font, p, Text);
            changed = true;
        }
    }
    // Assigned back so that the component takes the change.
    if (changed && fontProp->SetObj) SetObjectProp(Target, fontProp, font);
}

void TlxCustomLang::applyMultiLines(TObject* Object, const AnsiString& PropName, const AnsiString& Text) {
    const TPropInfo* p = lxClassProp(Object, PropName);
    auto* lines = p ? dynamic_cast<TStrings*>(GetObjectProp(Object, p)) : nullptr;
    if (!lines || lines->CommaText() == Text) return;
    // A memo redraws once: no wrapping while its lines are replaced.
    const bool wrap = lxBoolPropTrue(Object, "WordWrap");
    struct WrapScope {
        TObject* object;
        bool on;
        ~WrapScope() {
            if (on) SetOrdProp(object, "WordWrap", 1);
        }
    } wrapScope{Object, wrap};
    if (wrap) SetOrdProp(Object, "WordWrap", 0);
    lines->BeginUpdate();
    try {
        lines->SetCommaText(Text);
    } catch (...) {
        lines->EndUpdate();
        throw;
    }
    lines->EndUpdate();
}

bool TlxCustomLang::applyCollectionEntry(const AnsiString& Key, const AnsiString& Text) {
    TlxCollectionKey ck;
    if (!ParseCollectionKey(Key, ck) || ck.ItemPath.empty()) return false;
    TComponent* target = findTarget(ck.Component);
    const TPropInfo* cp = target ? lxClassProp(target, ck.Property) : nullptr;
    auto* collection = cp ? dynamic_cast<TCollection*>(GetObjectProp(target, cp)) : nullptr;
    if (!collection || ck.Index >= collection->Count()) return false;
    AnsiString prop;
    TObject* holder = WalkPath(collection->Items(ck.Index), ck.ItemPath, prop);
    if (!holder) return false;
    if (const TPropInfo* sp = lxStringProp(holder, prop)) {
        if (!Text.empty() && sp->SetStr && GetStrProp(holder, sp) != Text) SetStrProp(holder, sp, Text);
        return true;
    }
    const TPropInfo* lp = lxClassProp(holder, prop);
    auto* lines = lp ? dynamic_cast<TStrings*>(GetObjectProp(holder, lp)) : nullptr;
    if (!lines) return false;
    if (!Text.empty()) ReplaceLines(lines, Text);
    return true;
}

void TlxCustomLang::applyLocale(const AnsiString& Key, const AnsiString& Text) {
    int which = -1;
    for (int i = 0; i < LocaleKeyCount; ++i)
        if (AnsiSameText(Key, LocaleKeys[size_t(i)])) which = i;
    if (which < 0) return;
    TFormatSettings& fs = FormatSettings();
    auto names = [&Text](AnsiString* out, size_t count) {
        TStringList items;
        items.SetCommaText(Text);
        for (size_t i = 0; i < count && int(i) < items.Count(); ++i) out[i] = items.Strings(int(i));
    };
    switch (which) {
    case 0: fs.CurrencyString = Text; break;
    case 1: fs.ThousandSeparator = Text[0]; break;
    case 2: fs.DecimalSeparator = Text[0]; break;
    case 3: fs.DateSeparator = Text[0]; break;
    case 4: fs.ShortDateFormat = Text; break;
    case 5: fs.LongDateFormat = Text; break;
    case 6: fs.TimeSeparator = Text[0]; break;
    case 7: fs.TimeAMString = Text; break;
    case 8: fs.TimePMString = Text; break;
    case 9: fs.ShortTimeFormat = Text; break;
    case 10: fs.LongTimeFormat = Text; break;
    case 11: names(fs.ShortMonthNames.data(), fs.ShortMonthNames.size()); break;
    case 12: names(fs.LongMonthNames.data(), fs.LongMonthNames.size()); break;
    case 13: names(fs.ShortDayNames.data(), fs.ShortDayNames.size()); break;
    case 14: names(fs.LongDayNames.data(), fs.LongDayNames.size()); break;
    default: break;
    }
}

void TlxCustomLang::moveToScratch(TStrings* List, int Index) {
    if (!scratch_) scratch_ = std::make_unique<TStringList>();
    scratch_->Add(List->Strings(Index));
    List->Delete(Index);
}

void TlxCustomLang::DelOldNames(TStrings* List, TStringsType Type) {
    TComponent* owner = Owner();
    // Messages, dialog words and locale settings name no component.
    if (!List || !owner || Type == stDlgsCaptions || Type == stStrings || Type == stLocales) return;
    const bool ownerFirst = Type == stCaptions || Type == stHints || Type == stFonts || Type == stCharSets;
    bool ownerHasProp = false;
    if (Type == stCaptions) ownerHasProp = lxStringProp(owner, "Caption") != nullptr;
    if (Type == stHints) ownerHasProp = lxStringProp(owner, "Hint") != nullptr;
    if (Type == stFonts || Type == stCharSets) ownerHasProp = lxClassProp(owner, "Font", "TFont") != nullptr;
    bool first = true;
    for (int i = 0; i < List->Count();) {
        const AnsiString key = ExtractTranslation(List->Strings(i), langDelim_, 0);
        const bool isFirst = std::exchange(first, false);
        TComponent* comp = nullptr;
        bool gone = false;
        if (Type == stCollections) {
            TlxCollectionKey ck;
            comp = ParseCollectionKey(key, ck) ? findTarget(ck.Component) : nullptr;
            const TPropInfo* cp = comp ? lxClassProp(comp, ck.Property) : nullptr;
            auto* collection = cp ? dynamic_cast<TCollection*>(GetObjectProp(comp, cp)) : nullptr;
            gone = !collection || ck.Index >= collection->Count();
        } else if (ownerFirst && isFirst && ownerHasProp) {
            comp = owner;
        } else if (Type == stMultiLines || Type == stOtherStrings || Type == stListView_TreeView_Items) {
            const AnsiString name = KeyComponent(key);
            if (!AnsiSameText(name, owner->ClassName())) {
                comp = owner->FindComponent(name);
                gone = !comp;
            }
        } else {
            comp = owner->FindComponent(key);
            gone = !comp;
        }
        if (gone) {
            moveToScratch(List, i);
        } else if ((Type == stCaptions || Type == stHints) && comp && lxHasAssignedAction(comp)) {
            // The action supplies caption and hint.
            List->Delete(i);
        } else {
            ++i;
        }
    }
}

bool TlxCustomLang::NotHandledProperty(const AnsiString& ComponentName, const AnsiString& PropName) const {
    return excludedProperties_->IndexOf(PropName) >= 0 ||
           smartExcludeProps_->IndexOf(ComponentName + "." + PropName) >= 0 || SameText(PropName, "Name");
}

void TlxCustomLang::ExcludeProperties() {
    auto excluded = [this](const char* name) { return excludedProperties_->IndexOf(name) >= 0; };
    if (excluded("Caption")) Captions()->Clear();
    if (excluded("Hint")) Hints()->Clear();
    if (excluded("DisplayLabel")) DisplayLabels()->Clear();
    if (excluded("Font")) {
        Fonts()->Clear();
        CharSets()->Clear();
    }
    if (excluded("Charset")) CharSets()->Clear();
    for (TStringsType t : {stMultiLines, stOtherStrings, stCollections}) {
        TStrings* list = List(t);
        AnsiString delims = AnsiString(".") + langDelim_;
        if (t == stCollections) delims += '[';
        for (int i = list->Count() - 1; i >= 0; --i) {
            const AnsiString entry = list->Strings(i);
            const AnsiString comp = ExtractWord(1, entry, delims);
            bool drop = NotHandledProperty(comp, ExtractWord(2, entry, delims));
            if (t == stCollections && !drop) drop = NotHandledProperty(comp, ExtractWord(4, entry, delims));
            if (drop) list->Delete(i);
        }
    }
}

AnsiString TlxCustomLang::GetStringValue(TStrings* List, const AnsiString& Key, int Lang) const {
    if (!List || Lang < 1) return AnsiString();
    for (int i = 0; i < List->Count(); ++i) {
        const AnsiString entry = List->Strings(i);
        if (AnsiSameText(ExtractTranslation(entry, langDelim_, 0), Key))
            return ExtractTranslation(entry, langDelim_, Lang);
    }
    return AnsiString();
}
