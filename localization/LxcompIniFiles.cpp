// INI-style translation files on streams: one list type at a time, all of
// them, merged into the lists, and one language taken from a file.
#include "localization/LxIniFormat.h"
#include "localization/LxTranslationData.h"
#include "localization/LxcompLang.h"
#include "localization/LxcompScopes.h"
#include "rtl/Convert.h"
#include "rtl/Files.h"
#include "rtl/StrUtils.h"

#include <unordered_map>
#include <unordered_set>

using namespace lxini;

namespace {
bool bracketKeys(TStringsType Type) { return Type == stCollections || Type == stListView_TreeView_Items; }

// "[" and "]" would start a section line; they travel as "-" and "+".
AnsiString keyToFile(AnsiString Key) {
    for (char& c : Key) {
        if (c == '[')
            c = '-';
        else if (c == ']')
            c = '+';
    }
    return Key;
}

AnsiString keyFromFile(AnsiString Key) {
    for (char& c : Key) {
        if (c == '-')
            c = '[';
        else if (c == '+')
            c = ']';
    }
    return Key;
}

// Keys compare ignoring case, which is equality of their small-letter forms.
AnsiString foldedKey(const AnsiString& Entry, char Delim) { return AnsiLowerCase(ExtractTranslation(Entry, Delim, 0)); }

// Where the keys of a list stand: the entries that start with a key and the
// delimiter, and the first entry of each key in any case.
class TKeyIndex {
public:
    TKeyIndex(TStrings* List, char Delim) : delim_(Delim) {
        for (int i = 0; i < List->Count(); ++i) add(List->Strings(i), i);
    }
    void add(const AnsiString& Entry, int Index) {
        const size_t d = Entry.find(delim_);
        if (d != AnsiString::npos) exact_.insert(Entry.substr(0, d));
        first_.emplace(foldedKey(Entry, delim_), Index);
    }
    bool hasExact(const AnsiString& Key) const { return exact_.count(Key) > 0; }
    int first(const AnsiString& Key) const {
        auto it = first_.find(AnsiLowerCase(Key));
        return it == first_.end() ? -1 : it->second;
    }

private:
    char delim_;
    std::unordered_set<AnsiString> exact_;
    std::unordered_map<AnsiString, int> first_;
};

bool startsWithText(const AnsiString& S, const AnsiString& Prefix) {
    return S.size() >= Prefix.size() && AnsiSameText(S.substr(0, Prefix.size()), Prefix);
}
}  // namespace

void TlxCustomLang::followUp(TStringsType Type) {
    if (batch_) return;
    DelOldNames(GetPropListByType(Type), Type);
    if (Type == stStrings) UpdateStrCollections();
    ChangeLanguage();
}

int TlxCustomLang::SaveToStream(TStringsType Type, TStream* Stream, const AnsiString& Delimiter) {
    TStrings* list = GetPropListByType(Type);
    if (!list || !Stream) return -1;
    TMemIniFile ini("");
    ReadIni(Stream, ini);
    ini.WriteString(OptionsSection, "DELIMITER", Delimiter);
    ini.EraseSection(NamesSection);
    WriteLanguageNames(ini, langNames_.get(), numOfLanguages_);
    ini.EraseSection(OldNamesSection);
    const AnsiString section = IniSectionName(Type);
    const AnsiString prefix = Owner() ? Owner()->ClassName() + "." : AnsiString(".");
    std::vector<std::pair<AnsiString, AnsiString>> pairs;
    pairs.reserve(size_t(list->Count()));
    for (int i = 0; i < list->Count(); ++i) {
        const AnsiString entry = list->Strings(i);
        const size_t d = entry.find(langDelim_);
        AnsiString key = entry.substr(0, d);
        if (bracketKeys(Type)) key = keyToFile(key);
        const AnsiString fields = d == AnsiString::npos ? AnsiString() : entry.substr(d + 1);
        pairs.emplace_back(prefix + key, EncodeTranslationLine(JoinValue(fields, langDelim_, Delimiter)));
    }
    ini.WriteStrings(section, pairs);
    TStringList lines;
    ini.GetStrings(&lines);
    // Keys of the older form (the owner's component name in front) give way
    // to the ones just written.
    const AnsiString oldPrefix = Owner() && !Owner()->Name().empty() ? Owner()->Name() + "." : AnsiString();
    for (int i = 0; !oldPrefix.empty() && i < lines.Count(); ++i) {
        if (!AnsiSameText(lines.Strings(i), "[" + section + "]")) continue;
        for (int k = i + 1; k < lines.Count() - 1 && lines.Strings(k).rfind('[', 0) != 0;) {
            if (lines.Strings(k).compare(0, oldPrefix.size(), oldPrefix) == 0)
                lines.Delete(k);
            else
                ++k;
        }
        break;
    }
    WriteLines(Stream, &lines);
    return list->Count();
}

int TlxCustomLang::LoadFromStream(TStringsType Type, TStream* Stream, bool ClearFirst) {
    TStrings* list = GetPropListByType(Type);
    if (!list || !Stream) return -1;
    if (ClearFirst) list->Clear();
    int result = -1;
    try {
        TMemIniFile ini("");
        ReadIni(Stream, ini);
        const AnsiString delimiter = ini.ReadString(OptionsSection, "DELIMITER", DefaultDelimiter);
        if (ini.SectionExists(NamesSection)) {
            TStringList names;
            for (int n = 1;; ++n) {
                const AnsiString name = ini.ReadString(NamesSection, "Language_" + IntToStr(n), AnsiString());
                if (name.empty()) break;
                names.Add(name);
            }
            // A names section without names keeps the component's languages.
            if (names.Count() > 0) {
                CheckLanguageCount(names.Count());
                langNames_->Assign(&names);
                numOfLanguages_ = names.Count();
            }
        }
        fixedLanguages_->Clear();
        for (int n = 1; n <= numOfLanguages_; ++n)
            if (ini.ReadBool(OptionsSection, "Language_Fixed" + IntToStr(n), false) && n <= langNames_->Count())
                fixedLanguages_->Add(langNames_->Strings(n - 1));
        const AnsiString section = IniSectionName(Type);
        TStringList keys;
        ini.ReadSection(section, &keys);
        TComponent* owner = Owner();
        const AnsiString byName = owner && !owner->Name().empty() ? owner->Name() + "." : AnsiString();
        const AnsiString byClass = owner ? owner->ClassName() + "." : AnsiString();
        AnsiString previous;
        for (int i = 0; i < keys.Count(); ++i) {
            const AnsiString key = keys.Strings(i);
            // A repeated key reads the same value again.
            if (i > 0 && AnsiSameText(key, previous)) continue;
            previous = key;
            // Keys of other forms are not ours; the prefix that matched goes.
            AnsiString prefix;
            if (!byName.empty() && startsWithText(key, byName))
                prefix = byName;
            else if (!byClass.empty() && startsWithText(key, byClass))
                prefix = byClass;
            else
                continue;
            AnsiString entryKey = key.substr(prefix.size());
            if (bracketKeys(Type)) entryKey = keyFromFile(entryKey);
            // The lists' own delimiter in a name would split its entry at the next save.
            if (entryKey.find(langDelim_) != AnsiString::npos) continue;
            if (doNotTranslate_->IndexOf(entryKey.substr(0, entryKey.find('.'))) >= 0) continue;
            const AnsiString value = ini.ReadString(section, key, Missing);
            if (value == Missing) continue;
            const AnsiString entry =
                entryKey + langDelim_ + DecodeTranslationLine(SplitValue(value, langDelim_, delimiter));
            // The owner's own entry leads its list.
            if (AnsiSameText(entryKey, prefix.substr(0, prefix.size() - 1)))
                list->Insert(0, entry);
            else
                list->Add(entry);
        }
        followUp(Type);
        result = keys.Count();
    } catch (const std::exception&) {
        // A malformed file loads what it could.
    }
    return result;
}

void TlxCustomLang::LoadAllFromStream(TStream* Stream, bool ClearFirst) {
    {
        TlxBatchScope batch(*this);
        for (int t = 0; t < StringsTypeCount; ++t) {
            LoadFromStream(TStringsType(t), Stream, ClearFirst);
            DelOldNames(GetPropListByType(TStringsType(t)), TStringsType(t));
        }
        LoadExtendedFromStream(Stream, ClearFirst);
        UpdateStrCollections();
    }
    ChangeLanguage();
}

bool TlxCustomLang::mergeList(TStringsType Type, const std::function<void()>& Reload) {
    TStrings* list = GetPropListByType(Type);
    if (!list) return false;
    TStringList copy;
    copy.Assign(list);
    try {
        TlxBatchScope batch(*this);
        Reload();
        // The keys present, those kept from the copy included.
        std::unordered_set<AnsiString> keys;
        for (int k = 0; k < list->Count(); ++k) keys.insert(foldedKey(list->Strings(k), langDelim_));
        for (int i = 0; i < copy.Count(); ++i)
            if (keys.insert(foldedKey(copy.Strings(i), langDelim_)).second) list->Add(copy.Strings(i));
    } catch (const std::exception&) {
        list->Assign(&copy);
        return false;
    }
    followUp(Type);
    return true;
}

bool TlxCustomLang::MergeFromStream(TStringsType Type, TStream* Stream) {
    return mergeList(Type, [&] { LoadFromStream(Type, Stream, true); });
}

bool TlxCustomLang::mergeAll(const std::function<bool(TStringsType)>& Merge) {
    bool ok = true;
    {
        TlxBatchScope batch(*this);
        for (int t = 0; t < StringsTypeCount && ok; ++t) {
            const TStringsType type = TStringsType(t);
            // A type without a list has nothing to merge.
            if (!GetPropListByType(type)) continue;
            ok = Merge(type);
            if (ok) DelOldNames(GetPropListByType(type), type);
        }
    }
    UpdateStrCollections();
    return ok;
}

bool TlxCustomLang::MergeAllFromStreamDNC(TStream* Stream) {
    return mergeAll([&](TStringsType Type) { return MergeFromStream(Type, Stream); });
}

bool TlxCustomLang::MergeAllFromStream(TStream* Stream) {
    MergeAllFromStreamDNC(Stream);
    ChangeLanguage();
    return true;
}

bool TlxCustomLang::fileLanguage(TMemIniFile& Ini, const AnsiString& AFileName, const AnsiString& LangName, int& N,
                                 int& M) {
    N = FileLanguageNumber(Ini, LangName);
    if (N == 0) {
        if (doRaiseExceptions_) throw ELanguageError(LangName + " not found in " + AFileName);
        return false;
    }
    M = langNames_->IndexOf(LangName) + 1;
    if (M == 0) {
        langNames_->Add(LangName);
        M = ++numOfLanguages_;
    }
    return true;
}

void TlxCustomLang::LoadLanguageByProp(TStringsType Type, const AnsiString& AFileName, const AnsiString& LangName) {
    TStrings* list = GetPropListByType(Type);
    if (!list || LangName.empty() || !FileExists(AFileName)) return;
    try {
        TMemIniFile ini(AFileName);
        const AnsiString delimiter = ini.ReadString(OptionsSection, "DELIMITER", DefaultDelimiter);
        int n = 0, m = 0;
        if (!fileLanguage(ini, AFileName, LangName, n, m)) return;
        const AnsiString section = IniSectionName(Type);
        TStringList keys, values;
        ini.ReadSection(section, &keys);
        ini.ReadSectionValues(section, &values);
        const AnsiString prefix = Owner() ? Owner()->ClassName() + "." : AnsiString();
        TKeyIndex index(list, langDelim_);
        for (int i = 0; !prefix.empty() && i < keys.Count() && i < values.Count(); ++i) {
            const AnsiString key = keys.Strings(i);
            if (key.compare(0, prefix.size(), prefix) != 0) continue;
            const AnsiString text = DecodeTranslationLine(ValueLanguage(values.Strings(i), n, delimiter));
            AnsiString entryKey = key.substr(prefix.size());
            if (bracketKeys(Type)) entryKey = keyFromFile(entryKey);
            const AnsiString start = entryKey + langDelim_;
            bool found = false;
            int at = -1;
            if (entryKey.find(langDelim_) != AnsiString::npos) {
                // Such a key starts entries of another key: the plain search.
                for (int k = 0; k < list->Count() && !found; ++k)
                    found = list->Strings(k).compare(0, start.size(), start) == 0;
            } else {
                found = index.hasExact(entryKey);
                at = index.first(entryKey);
            }
            if (!found) {
                list->Add(start + BuildStringByOne(text, m));
                index.add(list->Strings(list->Count() - 1), list->Count() - 1);
            } else if (at >= 0) {
                // The first entry of the key in any case takes the text; the
                // collections are built again at the end.
                list->SetStrings(at, entryWithText(list->Strings(at), text, m));
            } else {
                ReplaceStringValue(list, text, m, entryKey);
            }
        }
        followUp(Type);
    } catch (const std::exception&) {
        // As the loaders: a file that cannot be read changes nothing more;
        // the look-ups see what was taken.
        if (Type == stStrings && !batch_) UpdateStrCollections();
    }
}

void TlxCustomLang::LoadLanguage(const AnsiString& AFileName, const AnsiString& LangName) {
    {
        TlxBatchScope batch(*this);
        for (int t = 0; t < StringsTypeCount; ++t) {
            LoadLanguageByProp(TStringsType(t), AFileName, LangName);
            DelOldNames(GetPropListByType(TStringsType(t)), TStringsType(t));
        }
        LoadLanguageByExt(AFileName, LangName);
    }
    UpdateStrCollections();
    ChangeLanguage();
}
