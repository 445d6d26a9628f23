// TMemIniFile: parsing, writing and the section operations.
#include "localization/MemIni.h"

#include "rtl/Files.h"

YORDE_IMPLEMENT_CLASS(TMemIniFile, [](TClassBuilder<TMemIniFile>&) {})

TMemIniFile::TMemIniFile(const AnsiString& AFileName)
    : TCustomIniFile(AFileName), sections_(true), target_(AFileName), discard_(std::make_unique<TMemIniEntry>()) {
    sections_.SetSorted(true);
    sections_.SetDuplicates(dupIgnore);
    LoadValues();
}

TMemIniFile::~TMemIniFile() { Clear(); }

void TMemIniFile::LoadValues() {
    if (!fileName_.empty() && FileExists(fileName_)) {
        TStringList lines;
        lines.LoadFromFile(fileName_);
        SetStrings(&lines);
    } else {
        Clear();
    }
}

void TMemIniFile::SetStrings(TStrings* List) {
    Clear();
    // Each section's lines are sorted in once, not one insertion at a time.
    TMemIniEntry* current = nullptr;
    std::vector<AnsiString> lines;
    auto flush = [&] {
        if (current) current->AddLines(lines);
        lines.clear();
    };
    for (int i = 0; i < List->Count(); ++i) {
        AnsiString line = List->Strings(i);
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[' && line.back() == ']') {
            flush();
            const AnsiString name = line.size() >= 2 ? line.substr(1, line.size() - 2) : AnsiString();
            // The keys under a repeated header are dropped; the first section keeps its own.
            current = findSection(name) ? nullptr : AddSection(name);
            continue;
        }
        if (current) lines.push_back(std::move(line));
    }
    flush();
    modified_ = true;
}

void TMemIniFile::GetStrings(TStrings* List) {
    List->BeginUpdate();
    try {
        for (int i = 0; i < sections_.Count(); ++i) {
            List->Add("[" + sections_.Strings(i) + "]");
            auto* entry = static_cast<TMemIniEntry*>(sections_.Objects(i));
            for (int k = 0; k < entry->GetStringCount(); ++k) List->Add(entry->getEntry(k));
            List->Add(AnsiString());
        }
    } catch (...) {
        List->EndUpdate();
        throw;
    }
    List->EndUpdate();
}

void TMemIniFile::UpdateFile() {
    TStringList lines;
    GetStrings(&lines);
    lines.SaveToFile(target_);
    modified_ = false;
}

TMemIniEntry* TMemIniFile::AddSection(const AnsiString& Section) {
    modified_ = true;
    if (findSection(Section)) {
        discard_->Clear();
        return discard_.get();
    }
    auto entry = std::make_unique<TMemIniEntry>();
    sections_.AddObject(Section, entry.get());
    return entry.release();
}

void TMemIniFile::Clear() {
    sections_.Clear();
    modified_ = true;
}

void TMemIniFile::Rename(const AnsiString& AFileName, bool Reload) {
    target_ = AFileName;
    if (Reload) {
        fileName_ = AFileName;
        LoadValues();
    }
}

TMemIniEntry* TMemIniFile::findSection(const AnsiString& Section) const {
    int index = 0;
    return sections_.Find(Section, index) ? static_cast<TMemIniEntry*>(sections_.Objects(index)) : nullptr;
}

AnsiString TMemIniFile::ReadString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Default) {
    TMemIniEntry* entry = findSection(Section);
    int index = 0;
    if (!entry || !entry->Find(Ident, index)) return Default;
    return entry->GetValue(index);
}

void TMemIniFile::WriteString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Value) {
    TMemIniEntry* entry = findSection(Section);
    if (!entry) entry = AddSection(Section);
    int index = 0;
    if (entry->Find(Ident, index)) entry->Delete(index);
    entry->Add(Ident + "=" + Value);
    modified_ = true;
}

void TMemIniFile::WriteStrings(const AnsiString& Section, const std::vector<std::pair<AnsiString, AnsiString>>& Pairs) {
    if (Pairs.empty()) return;
    TMemIniEntry* entry = findSection(Section);
    if (!entry) entry = AddSection(Section);
    entry->WritePairs(Pairs);
    modified_ = true;
}

void TMemIniFile::ReadSection(const AnsiString& Section, TStrings* Strings) {
    Strings->BeginUpdate();
    try {
        Strings->Clear();
        if (TMemIniEntry* entry = findSection(Section))
            for (int i = 0; i < entry->GetStringCount(); ++i) Strings->Add(entry->getKey(i));
    } catch (...) {
        Strings->EndUpdate();
        throw;
    }
    Strings->EndUpdate();
}

void TMemIniFile::ReadSections(TStrings* Strings) {
    Strings->BeginUpdate();
    try {
        Strings->Clear();
        for (int i = 0; i < sections_.Count(); ++i) Strings->Add(sections_.Strings(i));
    } catch (...) {
        Strings->EndUpdate();
        throw;
    }
    Strings->EndUpdate();
}

void TMemIniFile::ReadSectionValues(const AnsiString& Section, TStrings* Strings) {
    Strings->BeginUpdate();
    try {
        Strings->Clear();
        if (TMemIniEntry* entry = findSection(Section))
            for (int i = 0; i < entry->GetStringCount(); ++i) Strings->Add(entry->GetValue(i));
    } catch (...) {
        Strings->EndUpdate();
        throw;
    }
    Strings->EndUpdate();
}

void TMemIniFile::EraseSection(const AnsiString& Section) {
    int index = 0;
    if (sections_.Find(Section, index)) sections_.Delete(index);
    modified_ = true;
}

void TMemIniFile::DeleteKey(const AnsiString& Section, const AnsiString& Ident) {
    int index = 0;
    TMemIniEntry* entry = findSection(Section);
    if (entry && entry->Find(Ident, index)) entry->Delete(index);
    modified_ = true;
}
