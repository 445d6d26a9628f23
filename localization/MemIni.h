#pragma once
// An INI file held wholly in memory (sections and keys sorted, nothing
// trimmed), and the two text helpers of translation entries.
#include "classes/Strings.h"
#include "rtl/DateTime.h"

#include <memory>
#include <utility>
#include <vector>

class TCustomIniFile : public TObject {
    YORDE_CLASS(TCustomIniFile, TObject)
public:
    explicit TCustomIniFile(const AnsiString& AFileName) : fileName_(AFileName) {}

    const AnsiString& FileName() const { return fileName_; }

    virtual AnsiString ReadString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Default) = 0;
    virtual void WriteString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Value) = 0;
    // "0x1F" reads as hexadecimal; anything malformed gives Default.
    virtual int ReadInteger(const AnsiString& Section, const AnsiString& Ident, int Default);
    virtual void WriteInteger(const AnsiString& Section, const AnsiString& Ident, int Value);
    virtual bool ReadBool(const AnsiString& Section, const AnsiString& Ident, bool Default);
    virtual void WriteBool(const AnsiString& Section, const AnsiString& Ident, bool Value);
    // Texts in the format settings in force; malformed text gives Default.
    virtual TDateTime ReadDate(const AnsiString& Section, const AnsiString& Ident, TDateTime Default);
    virtual TDateTime ReadDateTime(const AnsiString& Section, const AnsiString& Ident, TDateTime Default);
    virtual double ReadFloat(const AnsiString& Section, const AnsiString& Ident, double Default);
    virtual TDateTime ReadTime(const AnsiString& Section, const AnsiString& Ident, TDateTime Default);
    virtual void WriteDate(const AnsiString& Section, const AnsiString& Ident, TDateTime Value);
    virtual void WriteDateTime(const AnsiString& Section, const AnsiString& Ident, TDateTime Value);
    virtual void WriteFloat(const AnsiString& Section, const AnsiString& Ident, double Value);
    virtual void WriteTime(const AnsiString& Section, const AnsiString& Ident, TDateTime Value);
    virtual void ReadSection(const AnsiString& Section, TStrings* Strings) = 0;
    virtual void ReadSections(TStrings* Strings) = 0;
    virtual void ReadSectionValues(const AnsiString& Section, TStrings* Strings) = 0;
    virtual void EraseSection(const AnsiString& Section) = 0;
    virtual void DeleteKey(const AnsiString& Section, const AnsiString& Ident) = 0;
    virtual void UpdateFile() = 0;

    // A section without keys counts as missing.
    bool SectionExists(const AnsiString& Section);
    bool ValueExists(const AnsiString& Section, const AnsiString& Ident);

protected:
    AnsiString fileName_;
};

class TMemIniValue : public TObject {
    YORDE_CLASS(TMemIniValue, TObject)
public:
    explicit TMemIniValue(AnsiString AValue) : Value(std::move(AValue)) {}
    AnsiString Value;
};

// The keys of one section: sorted (case-insensitive), duplicates kept, a
// key added in front of the keys equal to it.
class TMemIniEntry : public TPersistent {
    YORDE_CLASS(TMemIniEntry, TPersistent)
public:
    TMemIniEntry();
    ~TMemIniEntry() override;

    int GetStringCount() const { return int(keys_.size()); }
    AnsiString getKey(int Index) const { return at(Index).Key; }
    AnsiString GetValue(int Index) const { return at(Index).Value->Value; }
    void SetValue(int Index, const AnsiString& Value) { at(Index).Value->Value = Value; }
    AnsiString getEntry(int Index) const { return getKey(Index) + "=" + GetValue(Index); }
    // Splits at the first "="; without one the whole line is the key.
    static void divideKeyValue(const AnsiString& Line, AnsiString& Key, AnsiString& Value);
    int Add(const AnsiString& Key, const AnsiString& Value);
    int Add(const AnsiString& Line);
    // Lines as Add would take them one by one, sorted once.
    void AddLines(const std::vector<AnsiString>& Lines);
    // Key-value pairs as TMemIniFile::WriteString would write them one by
    // one: each takes the place of the first key equal to it.
    void WritePairs(const std::vector<std::pair<AnsiString, AnsiString>>& Pairs);
    void Delete(int Index);
    // The leftmost key equal to Key (case-insensitive); else where it would go.
    bool Find(const AnsiString& Key, int& Index) const;
    void Clear();
    // From a strings list: its lines as key=value lines.
    void Assign(TPersistent* Source) override;

private:
    struct Line {
        AnsiString Key;
        std::unique_ptr<TMemIniValue> Value;
    };
    const Line& at(int Index) const;
    Line& at(int Index);

    std::vector<Line> keys_;
};

class TMemIniFile : public TCustomIniFile {
    YORDE_CLASS(TMemIniFile, TCustomIniFile)
public:
    explicit TMemIniFile(const AnsiString& AFileName);
    ~TMemIniFile() override;

    // Reads FileName when it names an existing file; otherwise empties.
    void LoadValues();
    // Replaces the content by the parsed lines.
    void SetStrings(TStrings* List);
    // Appends the content: sections and keys sorted, an empty line after each section.
    void GetStrings(TStrings* List);
    // Writes the content to the target file (lines joined by CR LF).
    void UpdateFile() override;
    // For a name already present (case-insensitive) the existing section
    // stays, and what is added to the returned entry is discarded.
    TMemIniEntry* AddSection(const AnsiString& Section);
    void Clear();
    // The target becomes FileName; with Reload the content is read from it.
    void Rename(const AnsiString& AFileName, bool Reload);

    AnsiString ReadString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Default) override;
    void WriteString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Value) override;
    // WriteString for each pair in turn, in one pass over the section.
    void WriteStrings(const AnsiString& Section, const std::vector<std::pair<AnsiString, AnsiString>>& Pairs);
    void ReadSection(const AnsiString& Section, TStrings* Strings) override;
    void ReadSections(TStrings* Strings) override;
    void ReadSectionValues(const AnsiString& Section, TStrings* Strings) override;
    void EraseSection(const AnsiString& Section) override;
    void DeleteKey(const AnsiString& Section, const AnsiString& Ident) override;

    const AnsiString& TargetFileName() const { return target_; }
    bool Modified() const { return modified_; }

private:
    TMemIniEntry* findSection(const AnsiString& Section) const;

    TStringList sections_;  // objects: owned TMemIniEntry
    AnsiString target_;
    bool modified_ = false;
    // Receives the keys added under a repeated section name.
    std::unique_ptr<TMemIniEntry> discard_;
};

// Field Index of a translation entry (0 is the key); empty when the entry
// has fewer fields. The scan stops at a NUL byte.
AnsiString ExtractTranslation(const AnsiString& S, char Delim, int Index);
// 1-based position of the first SubStr in S (exact bytes), 0 when absent,
// 1 for an empty SubStr.
int SearchBM(const AnsiString& SubStr, const AnsiString& S);
