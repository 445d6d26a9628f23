// Collecting the current property values of the owner and its components
// into the lists: the direction opposite to applying a language.
#include "classes/Collections.h"
#include "localization/LxPropInfoList.h"
#include "localization/LxPropPaths.h"
#include "localization/LxVclSeam.h"
#include "localization/LxcompLang.h"
#include "localization/MemIni.h"
#include "rtl/Convert.h"
#include "rtl/StrUtils.h"

namespace {
constexpr TTypeKinds stringKinds = KindBit(tkString) | KindBit(tkLString) | KindBit(tkWString);

// The engine's own components carry settings, not texts.
bool isEngineComponent(const TComponent* C) {
    return lxObjectIs(C, "TlxCustomLang") || lxObjectIs(C, "TlxLangDispatcher") || lxObjectIs(C, "TlxFormStorage");
}

const char* listProperty(TStringsType Type) {
    switch (Type) {
    case stCaptions: return "Caption";
    case stHints: return "Hint";
    case stDisplayLabels: return "DisplayLabel";
    default: return "Font";
    }
}
}  // namespace

AnsiString TlxCustomLang::GetObjectFontName(const TObject* Object) {
    const TPropInfo* p = lxClassProp(Object, "Font", "TFont");
    const TObject* font = p ? GetObjectProp(Object, p) : nullptr;
    return font ? GetObjectStrProperty(font, "Name") : AnsiString();
}

int TlxCustomLang::GetObjectFontCharset(const TObject* Object) {
    const TPropInfo* p = lxClassProp(Object, "Font", "TFont");
    const TObject* font = p ? GetObjectProp(Object, p) : nullptr;
    const TPropInfo* charset = font ? GetPropInfo(font, "Charset", KindBit(tkInteger)) : nullptr;
    return charset ? int(GetOrdProp(font, charset)) : 0;
}

void TlxCustomLang::RemoveSmartExcl(TStrings* List, const AnsiString& ComponentName, TStringsType Type,
                                    const AnsiString& PropName) {
    if (!List) return;
    if (Type == stCollections) {
        const AnsiString prefix = ComponentName + "." + PropName;
        for (int i = List->Count() - 1; i >= 0; --i)
            if (List->Strings(i).compare(0, prefix.size(), prefix) == 0) List->Delete(i);
        return;
    }
    const bool path = Type == stMultiLines || Type == stOtherStrings;
    const AnsiString prefix = (path ? ComponentName + "." + PropName : ComponentName) + langDelim_;
    for (int i = List->Count() - 1; i >= 0; --i)
        if (List->Strings(i).compare(0, prefix.size(), prefix) == 0) {
            List->Delete(i);
            return;
        }
}

bool TlxCustomLang::collects(const AnsiString& ComponentName, TStringsType Type, const AnsiString& PropName) {
    if (excludedProperties_->IndexOf(PropName) >= 0 || SameText(PropName, "Name")) return false;
    if (smartExcludeProps_->IndexOf(ComponentName + "." + PropName) < 0) return true;
    RemoveSmartExcl(List(Type), ComponentName, Type, PropName);
    if (Type == stFonts) RemoveSmartExcl(CharSets(), ComponentName, stFonts, PropName);
    return false;
}

void TlxCustomLang::collectValue(TStringsType Type, const AnsiString& Key, const AnsiString& Value) {
    TStrings* list = List(Type);
    const int lang = ActiveLanguage();
    for (int i = 0; i < list->Count(); ++i) {
        const AnsiString entry = list->Strings(i);
        if (!AnsiSameText(ExtractTranslation(entry, langDelim_, 0), Key)) continue;
        if (!Value.empty() && ExtractTranslation(entry, langDelim_, lang) != Value)
            ReplaceStringValue(list, Value, lang, Key);
        return;
    }
    // A component that was renamed or made anew keeps its translations when
    // a pruned entry carries the same text.
    for (int i = 0; !Value.empty() && scratch_ && i < scratch_->Count(); ++i) {
        const AnsiString pruned = scratch_->Strings(i);
        if (ExtractTranslation(pruned, langDelim_, lang) != Value) continue;
        list->Add(Key + pruned.substr(pruned.find(langDelim_)));
        scratch_->Delete(i);
        return;
    }
    list->Add(Key + langDelim_ + Value + AnsiString(size_t(numOfLanguages_), langDelim_));
}

void TlxCustomLang::collectOwnerEntry(TStringsType Type, const char* PropName, const AnsiString& Value) {
    TStrings* list = List(Type);
    const AnsiString key = Owner()->ClassName();
    if (smartExcludeProps_->IndexOf(key + "." + PropName) >= 0) {
        RemoveSmartExcl(list, key, Type, PropName);
        return;
    }
    if (excludedProperties_->IndexOf(PropName) >= 0) return;
    // The owner's entry is always the first of its list.
    if (list->Count() > 0 && AnsiSameText(ExtractTranslation(list->Strings(0), langDelim_, 0), key)) {
        if (!Value.empty() && ExtractTranslation(list->Strings(0), langDelim_, ActiveLanguage()) != Value)
            ReplaceStringValue(list, Value, ActiveLanguage(), key);
        return;
    }
    list->Insert(0, key + langDelim_ + Value + AnsiString(size_t(numOfLanguages_), langDelim_));
}

void TlxCustomLang::collectOwner() {
    TComponent* owner = Owner();
    if (!GetTranslateOwner()) return;
    if (const TPropInfo* p = lxStringProp(owner, "Caption"))
        collectOwnerEntry(stCaptions, "Caption", GetStrProp(owner, p));
    if (const TPropInfo* p = lxStringProp(owner, "Hint")) collectOwnerEntry(stHints, "Hint", GetStrProp(owner, p));
    if (!ownerHasNoFont_ && lxClassProp(owner, "Font", "TFont")) {
        collectOwnerEntry(stFonts, "Font", GetObjectFontName(owner));
        if (excludedProperties_->IndexOf("Charset") < 0)
            collectOwnerEntry(stCharSets, "Font", CharsetName(GetObjectFontCharset(owner)));
    }
}

void TlxCustomLang::collectComponent(TComponent* C, TStringsType Type) {
    const AnsiString name = C->Name();
    switch (Type) {
    case stCaptions:
    case stHints:
    case stDisplayLabels: {
        const char* prop = listProperty(Type);
        const TPropInfo* p = lxStringProp(C, prop);
        // An action supplies caption and hint.
        if (!p || (Type != stDisplayLabels && lxHasAssignedAction(C))) return;
        const AnsiString value = GetStrProp(C, p);
        if (Type == stCaptions && value == "-" && lxObjectIs(C, "TMenuItem")) return;  // a separator
        if (collects(name, Type, prop)) collectValue(Type, name, value);
        return;
    }
    case stFonts:
        if (!lxClassProp(C, "Font", "TFont") || lxBoolPropTrue(C, "ParentFont") || !collects(name, stFonts, "Font"))
            return;
        collectValue(stFonts, name, GetObjectFontName(C));
        if (excludedProperties_->IndexOf("Charset") < 0)
            collectValue(stCharSets, name, CharsetName(GetObjectFontCharset(C)));
        return;
    case stMultiLines: {
        if (lxObjectIs(C, "TFormStorage")) return;
        TlxPropInfoList props(C, KindBit(tkClass));
        for (int i = 0; i < props.Count(); ++i) {
            const TPropInfo* p = props.Get(i);
            const AnsiString typeName = p->PropType ? p->PropType->Name : AnsiString();
            if (!SameText(typeName, "TStrings") && !IsHandledTStrings(typeName)) continue;
            auto* lines = dynamic_cast<TStrings*>(GetObjectProp(C, p));
            if (lines && collects(name, Type, p->Name)) collectValue(Type, name + "." + p->Name, lines->CommaText());
        }
        return;
    }
    case stOtherStrings: {
        TlxPropInfoList props(C, stringKinds);
        for (int i = 0; i < props.Count(); ++i) {
            const TPropInfo* p = props.Get(i);
            // These have lists of their own.
            if (SameText(p->Name, "Caption") || SameText(p->Name, "Hint") || SameText(p->Name, "DisplayLabel"))
                continue;
            if (collects(name, Type, p->Name)) collectValue(Type, name + "." + p->Name, GetStrProp(C, p));
        }
        return;
    }
    case stCollections: {
        TlxPropInfoList props(C, KindBit(tkClass));
        for (int i = 0; i < props.Count(); ++i) {
            const TPropInfo* p = props.Get(i);
            auto* collection = dynamic_cast<TCollection*>(GetObjectProp(C, p));
            if (!collection || !collects(name, Type, p->Name)) continue;
            for (int k = 0; k < collection->Count(); ++k) {
                TCollectionItem* item = collection->Items(k);
                TlxPropInfoList itemProps(item, stringKinds);
                for (int j = 0; j < itemProps.Count(); ++j) {
                    const TPropInfo* ip = itemProps.Get(j);
                    if (!collects(name, Type, ip->Name)) continue;
                    collectValue(Type, name + "." + p->Name + "[" + IntToStr(k) + "]." + ip->Name,
                                 GetStrProp(item, ip));
                }
            }
        }
        return;
    }
    default: return;
    }
}

void TlxCustomLang::BuildList() {
    TComponent* owner = Owner();
    if (temporaryCopy_ || !owner) return;
    // Nothing raises while collecting; the setting comes back afterwards.
    struct RaiseScope {
        bool& flag;
        bool saved;
        ~RaiseScope() { flag = saved; }
    } raise{doRaiseExceptions_, doRaiseExceptions_};
    doRaiseExceptions_ = false;
    collectOwner();
    for (TStringsType type :
         {stCaptions, stHints, stDisplayLabels, stFonts, stMultiLines, stOtherStrings, stCollections}) {
        // The entries pruned now are the ones a renamed component can take back.
        scratch_.reset();
        DelOldNames(List(type), type);
        if (type == stFonts) DelOldNames(CharSets(), stCharSets);
        for (int i = 0; i < owner->ComponentCount(); ++i) {
            TComponent* c = owner->Components(i);
            if (c->Name().empty() || isEngineComponent(c) || doNotTranslate_->IndexOf(c->Name()) >= 0) continue;
            collectComponent(c, type);
        }
    }
    scratch_.reset();
    CheckRmdProps();
    UpdateExtended();
}

void TlxCustomLang::CheckRmdProps() {
    for (TStringsType type : {stCaptions, stHints, stDisplayLabels, stFonts, stCharSets}) {
        TStrings* list = List(type);
        for (int i = list->Count() - 1; i >= 0; --i) {
            const AnsiString key = ExtractTranslation(list->Strings(i), langDelim_, 0);
            const TComponent* c = findTarget(key);
            if (key.empty() || (c && !GetPropInfo(c, listProperty(type)))) list->Delete(i);
        }
    }
    for (TStringsType type : {stMultiLines, stOtherStrings, stCollections}) {
        TStrings* list = List(type);
        for (int i = list->Count() - 1; i >= 0; --i) {
            const AnsiString key = ExtractTranslation(list->Strings(i), langDelim_, 0);
            TObject* start = nullptr;
            AnsiString path;
            if (type == stCollections) {
                TlxCollectionKey ck;
                if (!ParseCollectionKey(key, ck)) continue;  // DelOldNames judges those
                TComponent* c = findTarget(ck.Component);
                const TPropInfo* cp = c ? lxClassProp(c, ck.Property) : nullptr;
                auto* collection = cp ? dynamic_cast<TCollection*>(GetObjectProp(c, cp)) : nullptr;
                if (!collection || ck.Index >= collection->Count()) continue;
                start = collection->Items(ck.Index);
                path = ck.ItemPath;
            } else {
                start = findTarget(KeyComponent(key));
                path = AfterFirstDot(key);
            }
            AnsiString prop;
            TObject* holder = start ? WalkPath(start, path, prop) : nullptr;
            if (KeyComponent(key).empty() || (start && (!holder || !GetPropInfo(holder, prop)))) list->Delete(i);
        }
    }
}
