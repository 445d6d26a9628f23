#include "LangCheck.h"

#include "TextCodec.h"

#include "classes/Collections.h"
#include "classes/Strings.h"
#include "localization/LxcompDialogWords.h"
#include "rtl/StrUtils.h"

#include <map>
#include <set>

namespace {

bool ownerFirstType(TStringsType t) { return t == stCaptions || t == stHints || t == stFonts || t == stCharSets; }
bool pathKeyType(TStringsType t) { return t == stMultiLines || t == stOtherStrings || t == stCollections; }

class LangChecker {
public:
    LangChecker(const TLayoutModel& model, const std::string& table, TDiagnostics& diag)
        : m_(model), table_(table), diag_(diag) {
        translatorClass_ = GetClass(m_.Translator->ClassName);
    }

    TlxTranslationLists run(const std::vector<TLangEntry>& entries) {
        TlxTranslationLists lists;
        if (!translatorClass_ || !m_.RootClass) return lists;  // reported by the layout checks
        for (int t = 0; t < StringsTypeCount; ++t) {
            const TPropInfo* p = translatorClass_->FindProperty(StringsTypeListName(TStringsType(t)));
            if (p && p->Kind() != tkMethod) lists[size_t(t)].emplace();
        }
        std::map<std::string, const TLangEntry*, TCaseLess> seen[StringsTypeCount];
        for (const TLangEntry& e : entries) {
            auto& list = lists[size_t(e.Type)];
            if (!list) {
                error(e, translatorClass_->ClassName() + " has no " + StringsTypeListName(e.Type) + " list (" +
                             StringsTypeName(e.Type) + ")");
                continue;
            }
            auto [it, fresh] = seen[e.Type].emplace(e.Key, &e);
            if (!fresh) {
                error(e, "duplicate key " + e.Key + " in " + StringsTypeName(e.Type) + " (first at " +
                             it->second->File + ":" + std::to_string(it->second->Line) + ")");
                continue;
            }
            checkEntry(e, int(list->size()));
            std::string line = e.Key;
            for (const std::string& text : e.Texts) line += LangDelimiter + text;
            line += LangDelimiter;
            list->push_back(line);
        }
        if (lists[stDlgsCaptions]) requireAll(stDlgsCaptions, seen[stDlgsCaptions], basicDialogKeys());
        if (lists[stLocales]) requireAll(stLocales, seen[stLocales], localeKeys());
        checkOwnFonts(seen);
        return lists;
    }

private:
    void error(const TLangEntry& e, const std::string& m) { diag_.Error(e.File, e.Line, m); }

    TMetaClass* classOf(const TLayoutObject* o) const { return o == m_.Root ? m_.RootClass : GetClass(o->ClassName); }

    // The component a key's component part names: the owner by its class name.
    const TLayoutObject* target(const TLangEntry& e, const std::string& name) {
        if (SameText(name, m_.Root->ClassName)) return m_.Root;
        if (!m_.Root->Name.empty() && SameText(name, m_.Root->Name)) {
            error(e, "the owner is keyed by its class name " + m_.Root->ClassName + ", not by its name " + name);
            return nullptr;
        }
        auto it = m_.Owned.find(name);
        if (it == m_.Owned.end()) {
            error(e, "no component named " + name + " in the layout");
            return nullptr;
        }
        return it->second;
    }

    void checkEntry(const TLangEntry& e, int index) {
        const TStringsType t = e.Type;
        if (ownerFirstType(t) && index > 0 && SameText(e.Key, m_.Root->ClassName)) {
            error(e, "the owner's entry " + e.Key + " must be the first of " + StringsTypeName(t));
            return;
        }
        switch (t) {
        case stCaptions: textProperty(e, "Caption"); return;
        case stHints: textProperty(e, "Hint"); return;
        case stDisplayLabels: textProperty(e, "DisplayLabel"); return;
        case stFonts:
        case stCharSets: fontEntry(e); return;
        case stMultiLines:
        case stOtherStrings: pathEntry(e); return;
        case stCollections: collectionEntry(e); return;
        case stDlgsCaptions:
            if (!basicDialogKeys().count(e.Key) && !allDialogKeys().count(e.Key))
                error(e,
                      "'" + e.Key + "' is not a dialog word (Warning, Error, Information, Confirm, Yes, No, OK, ...)");
            return;
        case stLocales:
            if (!localeKeys().count(e.Key))
                error(e, "'" + e.Key + "' is not a locale setting (Currency String, Thousand Separator, ...)");
            return;
        default: return;
        }
    }

    void textProperty(const TLangEntry& e, const char* prop) {
        const TLayoutObject* o = target(e, e.Key);
        if (!o) return;
        TMetaClass* mc = classOf(o);
        if (!mc) return;
        const TPropInfo* p = mc->FindProperty(prop);
        if (!p || !IsStringKind(p)) {
            error(e, mc->ClassName() + " has no published text property " + prop);
            return;
        }
        sameAsLayout(e, o, prop);
    }

    // The layout shows the first language's text; switching away and back takes it from the table.
    void sameAsLayout(const TLangEntry& e, const TLayoutObject* o, const std::string& path) {
        const TLanguage& first = Languages[0];
        const std::string& text = e.Texts[0];
        if (text.empty()) return;
        const TLayoutProperty* p = o->Find(path);
        if (!p || p->Value.Kind != TLayoutValue::String || p->Value.Text == text) return;
        error(e, std::string("the ") + first.Name + " text " + QuoteBytes(text, first.CodePage) +
                     " differs from the layout's " + (o == m_.Root ? m_.Root->ClassName : o->Name) + "." + path + " " +
                     QuoteBytes(p->Value.Text, first.CodePage) + " (line " + std::to_string(p->Line) + ")");
    }

    void fontEntry(const TLangEntry& e) {
        const TLayoutObject* o = target(e, e.Key);
        if (!o) return;
        TMetaClass* mc = classOf(o);
        if (!mc) return;
        const TPropInfo* p = mc->FindProperty("Font");
        if (!p || !ClassNamed(PropertyClass(p), "TFont")) {
            error(e, mc->ClassName() + " has no published Font");
            return;
        }
        if (e.Type == stFonts) {
            sameAsLayout(e, o, "Font.Name");
            return;
        }
        bool othersName = false;
        for (size_t l = 0; l < Languages.size(); ++l) {
            int charset = 0;
            const std::string& text = e.Texts[l];
            if (!text.empty() && !CharsetFromName(text, charset))
                error(e, std::string("the ") + Languages[l].Name + " text '" + text + "' is not a character set name");
            if (l > 0 && !text.empty()) othersName = true;
        }
        if (e.Texts[0].empty() && othersName)
            error(e, std::string("the ") + Languages[0].Name +
                         " character set is empty while another language names one: switching back to " +
                         Languages[0].Name + " would keep that one (name DEFAULT_CHARSET)");
    }

    void pathEntry(const TLangEntry& e) {
        const size_t dot = e.Key.find('.');
        if (dot == std::string::npos || dot == 0 || dot + 1 == e.Key.size()) {
            error(e, "the key " + e.Key + " must be Component.Property");
            return;
        }
        const TLayoutObject* o = target(e, e.Key.substr(0, dot));
        if (!o) return;
        TMetaClass* mc = classOf(o);
        if (!mc) return;
        const std::string path = e.Key.substr(dot + 1);
        const TResolvedProperty r = ResolvePropertyPath(mc, path);
        if (!r.Prop) {
            error(e, r.Error);
            return;
        }
        if (e.Type == stMultiLines) {
            TMetaClass* c = PropertyClass(r.Prop);
            if (!c || !c->InheritsFrom(TStrings::StaticClass()))
                error(e, path + " of " + mc->ClassName() + " is not a string list");
        } else if (!IsStringKind(r.Prop)) {
            error(e, path + " of " + mc->ClassName() + " is not a text property");
        } else {
            sameAsLayout(e, o, path);
        }
    }

    void collectionEntry(const TLangEntry& e) {
        // Component.Collection[index] or Component.Collection[index].Property
        const size_t dot = e.Key.find('.');
        const size_t open = e.Key.find('[');
        const size_t close = e.Key.find(']');
        if (dot == std::string::npos || open == std::string::npos || close == std::string::npos || open < dot ||
            close < open || open == dot + 1 || close == open + 1 ||
            !(close + 1 == e.Key.size() || (e.Key[close + 1] == '.' && close + 2 < e.Key.size()))) {
            error(e, "the key " + e.Key + " must be Component.Collection[index].Property");
            return;
        }
        const std::string indexText = e.Key.substr(open + 1, close - open - 1);
        if (indexText.find_first_not_of("0123456789") != std::string::npos || indexText.size() > 9) {
            error(e, "the index '" + indexText + "' in " + e.Key + " is not a number");
            return;
        }
        const TLayoutObject* o = target(e, e.Key.substr(0, dot));
        if (!o) return;
        TMetaClass* mc = classOf(o);
        if (!mc) return;
        const std::string coll = e.Key.substr(dot + 1, open - dot - 1);
        const TPropInfo* p = mc->FindProperty(coll);
        TMetaClass* c = p ? PropertyClass(p) : nullptr;
        if (!c || !c->InheritsFrom(TCollection::StaticClass())) {
            error(e, mc->ClassName() + " has no published collection " + coll);
            return;
        }
        const TLayoutProperty* lp = o->Find(coll);
        if (lp && lp->Value.Kind == TLayoutValue::Collection &&
            std::stoul(indexText) >= lp->Value.CollectionItems.size())
            error(e, e.Key + ": the layout's " + coll + " has " + std::to_string(lp->Value.CollectionItems.size()) +
                         " items (line " + std::to_string(lp->Line) + ")");
    }

    using TSeen = std::map<std::string, const TLangEntry*, TCaseLess>;

    void requireAll(TStringsType t, const TSeen& seen, const std::set<std::string>& keys) {
        std::string missing;
        for (const std::string& k : keys)
            if (!seen.count(k)) missing += (missing.empty() ? "" : ", ") + k;
        if (!missing.empty())
            diag_.Error(tableName(), 0, std::string(StringsTypeName(t)) + " lacks the entries " + missing);
    }

    const std::string& tableName() const { return table_; }

    static const std::set<std::string>& basicDialogKeys() {
        static const std::set<std::string> keys = [] {
            std::set<std::string> k;
            for (int i = 0; i < BasicDialogCount; ++i) k.insert(DialogKey(DialogWords[size_t(i)]));
            return k;
        }();
        return keys;
    }
    static const std::set<std::string>& allDialogKeys() {
        static const std::set<std::string> keys = [] {
            std::set<std::string> k;
            for (const char* w : DialogWords) k.insert(DialogKey(w));
            return k;
        }();
        return keys;
    }
    static const std::set<std::string>& localeKeys() {
        static const std::set<std::string> keys(LocaleKeys.begin(), LocaleKeys.end());
        return keys;
    }

    // ---- Components with their own font ----

    bool hasFont(TMetaClass* mc) const {
        const TPropInfo* p = mc ? mc->FindProperty("Font") : nullptr;
        return p && ClassNamed(PropertyClass(p), "TFont");
    }

    bool ownFont(const TLayoutObject* o) const {
        TMetaClass* mc = classOf(o);
        if (!hasFont(mc)) return false;
        if (const TLayoutProperty* pf = o->Find("ParentFont"))
            return pf->Value.Kind == TLayoutValue::Ident && SameText(pf->Value.Text, "False");
        if (o == m_.Root) return true;
        for (const TLayoutProperty& p : o->Properties)
            if (SameText(p.Path.substr(0, 5), "Font."))
                return true;  // a font set in the layout stops following the parent
        const TPropInfo* pf = mc->FindProperty("ParentFont");
        return pf && pf->HasDefault && pf->Default == 0;
    }

    bool layoutText(const TLayoutObject* o) const {
        for (const char* prop : {"Caption", "Text"})
            if (const TLayoutProperty* p = o->Find(prop);
                p && p->Value.Kind == TLayoutValue::String && !p->Value.Text.empty())
                return true;
        for (const char* prop : {"Lines.Strings", "Items.Strings"})
            if (const TLayoutProperty* p = o->Find(prop);
                p && p->Value.Kind == TLayoutValue::List && !p->Value.Items.empty())
                return true;
        return false;
    }

    // Texts drawn with o's font: its own and those of children that follow it.
    bool showsText(const TLayoutObject* o, const std::set<const TLayoutObject*>& translated) const {
        if (translated.count(o) || layoutText(o)) return true;
        if (o->Inline) return false;  // a frame's contents follow the frame's own table
        for (const TLayoutObject& c : o->Children)
            if (!ownFont(&c) && showsText(&c, translated)) return true;
        return false;
    }

    void checkOwnFonts(const TSeen* seen) {
        std::set<const TLayoutObject*> translated;
        for (TStringsType t : {stCaptions, stMultiLines, stOtherStrings, stCollections}) {
            for (const auto& [key, entry] : seen[t]) {
                const std::string name = pathKeyType(t) ? key.substr(0, key.find('.')) : key;
                if (SameText(name, m_.Root->ClassName))
                    translated.insert(m_.Root);
                else if (auto it = m_.Owned.find(name); it != m_.Owned.end())
                    translated.insert(it->second);
            }
        }
        // The form's code shows its messages on its own controls.
        if (!seen[stStrings].empty()) translated.insert(m_.Root);

        auto check = [&](const TLayoutObject* o) {
            if (!ownFont(o) || !showsText(o, translated)) return;
            const std::string key = o == m_.Root ? m_.Root->ClassName : o->Name;
            std::string lacks;
            if (!seen[stFonts].count(key)) lacks = "stFonts";
            if (!seen[stCharSets].count(key)) lacks += std::string(lacks.empty() ? "" : " and ") + "stCharSets";
            if (lacks.empty()) return;
            diag_.Error(tableName(), 0,
                        key + " (layout line " + std::to_string(o->Line) +
                            ") has its own font and shows text but has no " + lacks +
                            " entry: the texts of a language with another code page would be decoded as " +
                            Languages[0].Name);
        };
        check(m_.Root);
        for (const auto& [name, o] : m_.Owned)
            if (!o->Name.empty()) check(o);
    }

    const TLayoutModel& m_;
    const std::string& table_;
    TDiagnostics& diag_;
    TMetaClass* translatorClass_ = nullptr;
};

}  // namespace

TlxTranslationLists BuildTranslationLists(const std::vector<TLangEntry>& Entries, const TLayoutModel& Model,
                                          const std::string& TablePath, TDiagnostics& Diag) {
    LangChecker c(Model, TablePath, Diag);
    return c.run(Entries);
}
