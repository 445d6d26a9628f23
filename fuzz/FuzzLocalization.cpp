// Translation files: the binary LXB file and the INI-style text files, read
// into the translation component of a form.
#include "FuzzTarget.h"
#include "FuzzTargets.h"

#include "ComponentImage.h"
#include "Owned.h"
#include "TestComponents.h"

#include "classes/MemoryStream.h"
#include "localization/LXBFile.h"
#include "localization/LxExtended.h"
#include "localization/Lxcomp.h"
#include "localization/MemIni.h"
#include "rtl/StrUtils.h"

#include <algorithm>

namespace yorde::fuzz {

namespace {

using yorde::test::Owned;
using yorde::test::TTestDataModule;
using yorde::test::TTestForm;
using yorde::test::TTestLabel;

std::vector<AnsiString> Lines(const TStrings* list) {
    std::vector<AnsiString> out;
    for (int i = 0; list && i < list->Count(); ++i) out.push_back(list->Strings(i));
    return out;
}

// Every list and the language names, in one value to compare.
std::vector<std::vector<AnsiString>> Contents(const TlxCustomLang& lang) {
    std::vector<std::vector<AnsiString>> out;
    for (int t = 0; t < StringsTypeCount; ++t) out.push_back(Lines(lang.GetPropListByType(TStringsType(t))));
    out.push_back(Lines(lang.LangNames()));
    return out;
}

// Entries are found by their keys: where a file put them does not matter.
std::vector<std::vector<AnsiString>> Sorted(std::vector<std::vector<AnsiString>> lists) {
    for (auto& list : lists) std::sort(list.begin(), list.end());
    return lists;
}

std::string Bytes(TMemoryStream& s) { return std::string(static_cast<const char*>(s.Memory()), size_t(s.Size())); }

TMemoryStream* StreamOf(std::string_view bytes, TMemoryStream& s) {
    s.WriteBuffer(bytes.data(), int64_t(bytes.size()));
    s.SetPosition(0);
    return &s;
}

constexpr char kDelim = '\1';  // between the texts of an entry

// A form with a label and a translation component of three languages.
struct LangForm {
    Owned<TTestForm> Form{new TTestForm(nullptr)};
    TlxLang* Lang = new TlxLang(Form.get());
    LangForm() {
        Form->SetName("Form1");
        (new TTestLabel(Form.get()))->SetName("Label1");
        Lang->SetName("lxLang1");
        Lang->SetNumLang(3);
        TStringList names;
        names.SetCommaText("Polski,Angielski,Rosyjski");
        Lang->SetLangNames(&names);
    }
    void Fill() {
        const auto e = [](const AnsiString& key, const AnsiString& pl, const AnsiString& en, const AnsiString& ru) {
            return key + kDelim + pl + kDelim + en + kDelim + ru + kDelim;
        };
        Lang->Captions()->Add(e("TTestForm", "Okno", "Window", "\xCE\xEA\xED\xEE"));
        Lang->Captions()->Add(e("Label1", "Etykieta", "Label", ""));
        Lang->Hints()->Add(e("Label1", "a\r\nb", "c=d", ""));
        Lang->Strings()->Add(e("IDS_A", "Zmieni\xE6 j\xEAzyk?\\nProgram", "Change?", "\xC4\xE0"));
        Lang->OtherStrings()->Add(e("Label1.HelpKeyword", "k", "", ""));
        TlxExtendedItem* item = Lang->ExtendedTranslations()->Add();
        item->SetIdentifier("TTestForm.Hint");
        item->SetValues(AnsiString("Okno") + kDelim + "Window" + kDelim + kDelim);
        item->SetPropertyType(tkLString);
    }
};

// The sections of Lines as a reader one line at a time would see them: the
// lines under the first header of each name (ignoring case), in order.
std::vector<std::pair<AnsiString, std::vector<AnsiString>>> SectionLines(const TStrings& Lines) {
    std::vector<std::pair<AnsiString, std::vector<AnsiString>>> out;
    std::vector<AnsiString>* current = nullptr;
    for (int i = 0; i < Lines.Count(); ++i) {
        const AnsiString line = Lines.Strings(i);
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[' && line.back() == ']') {
            const AnsiString name = line.size() >= 2 ? line.substr(1, line.size() - 2) : AnsiString();
            current = nullptr;
            if (std::none_of(out.begin(), out.end(), [&](const auto& s) { return AnsiSameText(s.first, name); })) {
                out.push_back({name, {}});
                current = &out.back().second;
            }
        } else if (current) {
            current->push_back(line);
        }
    }
    return out;
}

std::vector<AnsiString> IniLines(TMemIniFile& Ini) {
    TStringList lines;
    Ini.GetStrings(&lines);
    return Lines(&lines);
}

// The in-memory INI file sorts a section's lines in at once and writes many
// keys in one pass: both must give what one line, one key at a time gives.
void CheckIniBulkOperations(std::string_view Input) {
    TStringList lines;
    lines.SetText(AnsiString(Input));
    TMemIniFile ini("");
    ini.SetStrings(&lines);
    std::vector<std::pair<AnsiString, AnsiString>> writes;
    for (const auto& [name, sectionLines] : SectionLines(lines)) {
        TMemIniEntry one;
        for (const AnsiString& line : sectionLines) one.Add(line);
        TStringList keys, values;
        ini.ReadSection(name, &keys);
        ini.ReadSectionValues(name, &values);
        FUZZ_CHECK(keys.Count() == one.GetStringCount() && values.Count() == one.GetStringCount());
        for (int i = 0; i < one.GetStringCount(); ++i)
            FUZZ_CHECK(keys.Strings(i) == one.getKey(i) && values.Strings(i) == one.GetValue(i));
        // Writes of keys present in another case, twice, and of new ones.
        for (const AnsiString& line : sectionLines) {
            AnsiString key, value;
            TMemIniEntry::divideKeyValue(line, key, value);
            writes.push_back({key, value + "!"});
            if (writes.size() % 3 == 0) writes.push_back({AnsiLowerCase(key), "lower"});
            if (writes.size() % 5 == 0) writes.push_back({key + "x", "new"});
        }
        TMemIniFile oneByOne(""), together("");
        oneByOne.SetStrings(&lines);
        together.SetStrings(&lines);
        for (const auto& [key, value] : writes) oneByOne.WriteString(name, key, value);
        together.WriteStrings(name, writes);
        FUZZ_CHECK(IniLines(oneByOne) == IniLines(together));
        writes.clear();
    }
}

// What From holds, saved and read into To.
void RewriteInto(const TLXBFileManager& From, TLXBFileManager& To) {
    TMemoryStream s;
    From.SaveToStream(&s);
    s.SetPosition(0);
    To.ReadStreamContent(&s);
}

}  // namespace

void RegisterFuzzClasses() {
    static const bool done = [] {
        RegisterLocalizationClasses();
        yorde::test::RegisterTestComponents();
        return true;
    }();
    (void)done;
}

void RunLxbFile(std::string_view input) {
    RegisterFuzzClasses();
    LangForm target;
    target.Lang->Strings()->Add("IDS_MINE\1m\1\1\1");
    const auto before = Contents(*target.Lang);
    TMemoryStream s;
    try {
        target.Lang->LoadAllFromBinaryStream(StreamOf(input, s));
    } catch (const Exception&) {
        FUZZ_CHECK(Contents(*target.Lang) == before);
    }
    s.SetPosition(0);
    TLXBFileManager reader;
    try {
        reader.ReadStreamContent(&s);
    } catch (const Exception&) {
        FUZZ_CHECK(reader.GetCompCount() == 0);
        return;
    }
    // A file read whole is written again and reads back the same. (Names
    // a component lacks are written as "Language N<n>": compare from the
    // second round on.)
    TLXBFileManager again, third;
    try {
        RewriteInto(reader, again);
    } catch (const ELXBFormatError&) {
        return;
    }
    RewriteInto(again, third);
    FUZZ_CHECK(third.GetCompCount() == reader.GetCompCount());
    for (int i = 0; i < third.GetCompCount(); ++i) {
        FUZZ_CHECK(third.GetOwnerNames(i) == reader.GetOwnerNames(i));
        FUZZ_CHECK(Contents(*third.GetlxComponents(i)) == Contents(*again.GetlxComponents(i)));
    }
}

void RunIniTranslations(std::string_view input) {
    RegisterFuzzClasses();
    CheckIniBulkOperations(input);
    LangForm target;
    TMemoryStream s;
    target.Lang->LoadAllFromStream(StreamOf(input, s), true);
    LangForm merged;
    merged.Fill();
    merged.Lang->MergeAllFromStream(&s);

    // What was read is written and reads back the same. A file without the
    // form's own entry lets the entry that sorts first stand in for it (the
    // first entry of a caption list is the form's); the save writes it under
    // the form's class, so compare from the second round on, and the first
    // round may only drop entries, never invent them.
    const auto roundTrip = [](const LangForm& from, LangForm& to) {
        TMemoryStream saved;
        try {
            from.Lang->SaveAllToStream(&saved, "~!@#");
        } catch (const ELanguageError&) {
            return false;
        }
        saved.SetPosition(0);
        to.Lang->LoadAllFromStream(&saved, true);
        return true;
    };
    LangForm once, twice;
    if (!roundTrip(target, once)) return;
    FUZZ_CHECK(roundTrip(once, twice));
    FUZZ_CHECK(Sorted(Contents(*twice.Lang)) == Sorted(Contents(*once.Lang)));
    const auto before = Contents(*target.Lang), after = Contents(*once.Lang);
    for (size_t i = 0; i < after.size(); ++i)
        for (const AnsiString& entry : after[i])
            FUZZ_CHECK(std::find(before[i].begin(), before[i].end(), entry) != before[i].end());
}

std::vector<std::string> LxbFileSeeds() {
    RegisterFuzzClasses();
    LangForm form;
    form.Fill();
    Owned<TTestDataModule> module(new TTestDataModule(nullptr));
    module->SetName("Module1");
    auto* other = new TlxLang(module.get());
    other->SetNumLang(3);
    other->Captions()->Add("Label2\1Druga\1Second\1\1");
    TLXBFileManager writer;
    writer.Add(other);
    writer.Add(form.Lang);
    TStringList fixed;
    fixed.Add("Polski");
    writer.SetFixedLanguages(&fixed);
    TMemoryStream s;
    writer.SaveToStream(&s);
    return {Bytes(s)};
}

std::vector<std::string> IniTranslationsSeeds() {
    RegisterFuzzClasses();
    LangForm form;
    form.Fill();
    TMemoryStream s;
    form.Lang->SaveAllToStream(&s, "~!@#");
    std::vector<std::string> seeds{Bytes(s)};
    TMemoryStream other;
    form.Lang->SaveToStream(stCaptions, &other, "|");
    seeds.push_back(Bytes(other));
    return seeds;
}

}  // namespace yorde::fuzz
