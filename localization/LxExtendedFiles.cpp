// The "[Extended]" section of INI-style translation files: one key per
// property path with the texts of all languages, and one "_TypeKind" key
// naming the kind of the property.
#include "classes/FileStream.h"
#include "classes/MemoryStream.h"
#include "localization/LxExtended.h"
#include "localization/LxIniFormat.h"
#include "localization/LxTextRoutines.h"
#include "localization/LxTranslationData.h"
#include "localization/LxcompLang.h"
#include "rtl/Files.h"

using namespace lxini;

namespace {
const AnsiString typeKindSuffix = "_TypeKind";

bool isTypeKindKey(const AnsiString& Key) {
    return Key.size() >= typeKindSuffix.size() &&
           Key.compare(Key.size() - typeKindSuffix.size(), typeKindSuffix.size(), typeKindSuffix) == 0;
}

// An unknown name is tkUnknown, never an invalid kind.
TTypeKind kindFromFile(TMemIniFile& Ini, const AnsiString& Key, const AnsiString& Delimiter) {
    AnsiString name = Ini.ReadString(ExtendedSection, Key + typeKindSuffix, "tkUnknown");
    name = name.substr(0, name.find(Delimiter));
    TTypeKind kind = tkUnknown;
    return TypeKindFromName(name, kind) ? kind : tkUnknown;
}
}  // namespace

void TlxCustomLang::SaveExtendedToStream(TStream* Stream, const AnsiString& Delimiter) {
    if (!Stream) return;
    TMemIniFile ini("");
    ReadIni(Stream, ini);
    ini.WriteString("Options", "Delimiter", Delimiter);
    WriteLanguageNames(ini, langNames_.get(), numOfLanguages_);
    const AnsiString prefix = Owner() ? Owner()->ClassName() + "." : AnsiString(".");
    for (int i = 0; i < extended_->Count(); ++i) {
        const TlxExtendedItem* item = extended_->GetItems(i);
        const AnsiString key = prefix + item->GetIdentifier();
        // Texts of string lists hold line breaks: they travel as in the other sections.
        ini.WriteString(ExtendedSection, key, EncodeTranslationLine(JoinValue(item->Values(), langDelim_, Delimiter)));
        ini.WriteString(ExtendedSection, key + typeKindSuffix, TypeKindName(item->PropertyType()));
    }
    TStringList lines;
    ini.GetStrings(&lines);
    WriteLines(Stream, &lines);
}

void TlxCustomLang::LoadExtendedFromStream(TStream* Stream, bool ClearFirst) {
    if (!Stream) return;
    if (ClearFirst) extended_->Clear();
    TMemIniFile ini("");
    ReadIni(Stream, ini);
    const AnsiString delimiter = ini.ReadString("Options", "Delimiter", DefaultDelimiter);
    const AnsiString prefix = Owner() ? Owner()->ClassName() + "." : AnsiString();
    TStringList keys;
    ini.ReadSection(ExtendedSection, &keys);
    for (int i = 0; !prefix.empty() && i < keys.Count(); ++i) {
        const AnsiString key = keys.Strings(i);
        if (key.compare(0, prefix.size(), prefix) != 0 || isTypeKindKey(key)) continue;
        const AnsiString path = key.substr(prefix.size());
        TlxExtendedItem* item = extended_->Find(path);
        if (!item) {
            item = extended_->Add();
            item->SetIdentifier(path);
        }
        item->SetValues(
            DecodeTranslationLine(SplitValue(ini.ReadString(ExtendedSection, key, ""), langDelim_, delimiter)));
        item->SetPropertyType(kindFromFile(ini, key, delimiter));
    }
}

void TlxCustomLang::LoadExtendedFromFile(const AnsiString& AFileName, bool ClearFirst) {
    if (!FileExists(AFileName)) return;
    TFileStream stream(AFileName, fmOpenRead | fmShareDenyWrite);
    LoadExtendedFromStream(&stream, ClearFirst);
}

void TlxCustomLang::SaveExtendedToFile(const AnsiString& AFileName, const AnsiString& Delimiter) {
    TMemoryStream content;
    if (FileExists(AFileName)) content.LoadFromFile(AFileName);
    SaveExtendedToStream(&content, Delimiter);
    content.SaveToFile(AFileName);
}

void TlxCustomLang::LoadLanguageByExt(const AnsiString& AFileName, const AnsiString& LangName) {
    if (LangName.empty() || !FileExists(AFileName)) return;
    try {
        TMemIniFile ini(AFileName);
        const AnsiString delimiter = ini.ReadString("Options", "Delimiter", DefaultDelimiter);
        int n = 0, m = 0;
        if (!fileLanguage(ini, AFileName, LangName, n, m)) return;
        const AnsiString prefix = Owner() ? Owner()->ClassName() + "." : AnsiString();
        const AnsiString delims(1, langDelim_);
        TStringList keys;
        ini.ReadSection(ExtendedSection, &keys);
        for (int i = 0; !prefix.empty() && i < keys.Count(); ++i) {
            const AnsiString key = keys.Strings(i);
            if (key.compare(0, prefix.size(), prefix) != 0 || isTypeKindKey(key)) continue;
            const AnsiString text =
                DecodeTranslationLine(ValueLanguage(ini.ReadString(ExtendedSection, key, ""), n, delimiter));
            const AnsiString path = key.substr(prefix.size());
            if (TlxExtendedItem* item = extended_->Find(path)) {
                AnsiString values;
                for (int k = 1; k <= numOfLanguages_; ++k)
                    values += (k == m ? text : ExtractWord(k, item->Values(), delims)) + langDelim_;
                item->SetValues(values);
            } else {
                item = extended_->Add();
                item->SetIdentifier(path);
                item->SetValues(BuildStringByOne(text, m));
                item->SetPropertyType(kindFromFile(ini, key, delimiter));
            }
        }
        if (!batch_) ChangeLanguage();
    } catch (const std::exception&) {
        // As the other loaders: an unreadable file changes nothing more.
    }
}
