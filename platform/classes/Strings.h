#pragma once
// TStrings (abstract list of texts with attached objects) and TStringList.
//
// Line breaks are CR LF in every direction, on Linux too: files and the
// translation data the program shares with the Windows program use them.
#include "classes/Classes.h"

class TStream;
class TStringList;

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStrings : public TPersistent {
    YORDE_CLASS(TStrings, TPersistent)
public:
    TStrings() = default;

    int Count() const { return GetCount(); }
    AnsiString Strings(int Index) const { return Get(Index); }
    void SetStrings(int Index, const AnsiString& S) { Put(Index, S); }
    AnsiString operator[](int Index) const { return Get(Index); }
    TObject* Objects(int Index) const { return GetObject(Index); }
    void SetObjects(int Index, TObject* AObject) { PutObject(Index, AObject); }

    virtual int Add(const AnsiString& S);
    virtual int AddObject(const AnsiString& S, TObject* AObject);
    void Append(const AnsiString& S) { Add(S); }
    virtual void AddStrings(TStrings* Strings);
    virtual void Insert(int Index, const AnsiString& S) = 0;
    virtual void InsertObject(int Index, const AnsiString& S, TObject* AObject);
    virtual void Delete(int Index) = 0;
    virtual void Clear() = 0;
    virtual void Exchange(int Index1, int Index2);
    virtual void Move(int CurIndex, int NewIndex);

    virtual int IndexOf(const AnsiString& S) const;
    virtual int IndexOfName(const AnsiString& Name) const;
    virtual int IndexOfObject(TObject* AObject) const;
    // Same texts in the same order, byte for byte; objects are not compared.
    bool Equals(const TStrings* Strings) const;

    // Strings and objects of another TStrings (and its Delimiter, QuoteChar
    // and NameValueSeparator); anything else goes to TPersistent.
    void Assign(TPersistent* Source) override;

    void BeginUpdate();
    void EndUpdate();

    // Every line followed by CR LF. The setter breaks at CR LF, lone CR or
    // lone LF (LF CR is two breaks), adds no line for a trailing break and
    // stops at a NUL byte.
    AnsiString Text() const { return GetTextStr(); }
    void SetText(const AnsiString& Value) { SetTextStr(Value); }

    // Comma and double quote with blanks and control characters as separators.
    AnsiString CommaText() const;
    void SetCommaText(const AnsiString& Value);
    AnsiString DelimitedText() const;
    void SetDelimitedText(const AnsiString& Value);
    char Delimiter() const { return delimiter_; }
    void SetDelimiter(char Value) { delimiter_ = Value; }
    char QuoteChar() const { return quoteChar_; }
    void SetQuoteChar(char Value) { quoteChar_ = Value; }
    // When set, only the Delimiter separates items; blanks belong to them.
    bool StrictDelimiter() const { return strictDelimiter_; }
    void SetStrictDelimiter(bool Value) { strictDelimiter_ = Value; }

    // name=value lines.
    char NameValueSeparator() const { return nameValueSeparator_; }
    void SetNameValueSeparator(char Value) { nameValueSeparator_ = Value; }
    AnsiString Names(int Index) const;
    AnsiString Values(const AnsiString& Name) const;
    // An empty value deletes the line.
    void SetValues(const AnsiString& Name, const AnsiString& Value);
    AnsiString ValueFromIndex(int Index) const;
    void SetValueFromIndex(int Index, const AnsiString& Value);

    virtual int Capacity() const { return GetCount(); }
    virtual void SetCapacity(int /*NewCapacity*/) {}

    // Reading starts at the stream's current position and runs to its end.
    virtual void LoadFromStream(TStream* Stream);
    virtual void SaveToStream(TStream* Stream) const;
    virtual void LoadFromFile(const AnsiString& FileName);
    // Replaces the file through a temporary file beside it.
    virtual void SaveToFile(const AnsiString& FileName) const;

    // Streams the list as the defined property "Strings".
    void DefineProperties(TFiler& Filer) override;

protected:
    virtual AnsiString Get(int Index) const = 0;
    virtual int GetCount() const = 0;
    virtual TObject* GetObject(int Index) const;
    virtual void Put(int Index, const AnsiString& S);
    virtual void PutObject(int Index, TObject* AObject);
    virtual AnsiString GetTextStr() const;
    virtual void SetTextStr(const AnsiString& Value);
    // Called when the first BeginUpdate starts and when the last EndUpdate ends.
    virtual void SetUpdateState(bool /*Updating*/) {}
    // Case-insensitive (AnsiCompareText) here; TStringList honours CaseSensitive.
    virtual int CompareStrings(const AnsiString& S1, const AnsiString& S2) const;

    int UpdateCount() const { return updateCount_; }
    // Format holds one "%d", which Data replaces.
    [[noreturn]] static void Error(const char* Format, int Data);
    [[noreturn]] static void Error(const char* Message);

    // Keeps an update open for the lifetime of a scope.
    class UpdateScope {
    public:
        explicit UpdateScope(TStrings& s) : s_(s) { s_.BeginUpdate(); }
        ~UpdateScope() { s_.EndUpdate(); }
        UpdateScope(const UpdateScope&) = delete;
        UpdateScope& operator=(const UpdateScope&) = delete;

    private:
        TStrings& s_;
    };

private:
    AnsiString delimitedText(char delimiter, char quote, bool strict) const;
    void setDelimitedText(const AnsiString& value, char delimiter, char quote, bool strict);
    void readData(TReader& Reader);
    void writeData(TWriter& Writer);

    int updateCount_ = 0;
    char delimiter_ = ',';
    char quoteChar_ = '"';
    char nameValueSeparator_ = '=';
    bool strictDelimiter_ = false;
};

// Compares the items at two indexes: <0, 0 or >0.
using TStringListSortCompare = std::function<int(TStringList* List, int Index1, int Index2)>;

class TStringList : public TStrings {
    YORDE_CLASS(TStringList, TStrings)
public:
    TStringList() = default;
    explicit TStringList(bool OwnsObjects) : ownsObjects_(OwnsObjects) {}
    // No pointer may pass for the bool above.
    template <class P>
    TStringList(P*) = delete;
    ~TStringList() override;

    int Add(const AnsiString& S) override;
    int AddObject(const AnsiString& S, TObject* AObject) override;
    void Insert(int Index, const AnsiString& S) override;
    void InsertObject(int Index, const AnsiString& S, TObject* AObject) override;
    void Delete(int Index) override;
    void Clear() override;
    void Exchange(int Index1, int Index2) override;
    void Move(int CurIndex, int NewIndex) override;
    int IndexOf(const AnsiString& S) const override;

    // Binary search by CompareStrings. Index receives the position of the
    // match (the leftmost one when Duplicates is dupAccept) or the position
    // where S would be inserted. Meaningful on sorted lists only.
    virtual bool Find(const AnsiString& S, int& Index) const;
    virtual void Sort();
    virtual void CustomSort(TStringListSortCompare Compare);

    bool Sorted() const { return sorted_; }
    void SetSorted(bool Value);
    // Applies to Add on sorted lists only.
    TDuplicates Duplicates() const { return duplicates_; }
    void SetDuplicates(TDuplicates Value) { duplicates_ = Value; }
    bool CaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool Value);
    // When set, Delete, Clear and the destructor free the objects.
    bool OwnsObjects() const { return ownsObjects_; }
    void SetOwnsObjects(bool Value) { ownsObjects_ = Value; }

    int Capacity() const override { return int(items_.capacity()); }
    void SetCapacity(int NewCapacity) override;

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    AnsiString Get(int Index) const override;
    int GetCount() const override { return int(items_.size()); }
    TObject* GetObject(int Index) const override;
    void Put(int Index, const AnsiString& S) override;
    void PutObject(int Index, TObject* AObject) override;
    void SetUpdateState(bool Updating) override;
    int CompareStrings(const AnsiString& S1, const AnsiString& S2) const override;
    virtual void Changed();
    virtual void Changing();

private:
    struct Item {
        AnsiString S;
        TObject* Object = nullptr;
    };
    void checkIndex(int Index) const;
    void insertItem(int Index, const AnsiString& S, TObject* AObject);
    void sortItems(const TStringListSortCompare& Compare);

    std::vector<Item> items_;
    TDuplicates duplicates_ = dupIgnore;
    bool sorted_ = false;
    bool caseSensitive_ = false;
    bool ownsObjects_ = false;
};
