#include "classes/Strings.h"

#include "classes/FileStream.h"
#include "classes/Filer.h"
#include "rtl/StrUtils.h"

#include <algorithm>
#include <string>
#include <utility>

namespace {

// Blanks and control characters; NUL ends a text before this is asked.
bool isBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

}  // namespace

YORDE_IMPLEMENT_CLASS(TStrings, [](TClassBuilder<TStrings>&) {})
YORDE_IMPLEMENT_CLASS(TStringList, [](TClassBuilder<TStringList>&) {})

// ---------------------------------------------------------------------------
// TStrings

void TStrings::Error(const char* Format, int Data) {
    AnsiString message = Format;
    if (const std::size_t at = message.find("%d"); at != AnsiString::npos) message.replace(at, 2, std::to_string(Data));
    throw EStringListError(message);
}

void TStrings::Error(const char* Message) { throw EStringListError(Message); }

TObject* TStrings::GetObject(int /*Index*/) const { return nullptr; }

void TStrings::PutObject(int /*Index*/, TObject* /*AObject*/) {}

void TStrings::Put(int Index, const AnsiString& S) {
    TObject* o = GetObject(Index);
    Delete(Index);
    InsertObject(Index, S, o);
}

int TStrings::Add(const AnsiString& S) {
    const int index = GetCount();
    Insert(index, S);
    return index;
}

int TStrings::AddObject(const AnsiString& S, TObject* AObject) {
    const int index = Add(S);
    PutObject(index, AObject);
    return index;
}

void TStrings::InsertObject(int Index, const AnsiString& S, TObject* AObject) {
    Insert(Index, S);
    PutObject(Index, AObject);
}

void TStrings::AddStrings(TStrings* Strings) {
    // Taken first: adding a list to itself must not see its own additions.
    std::vector<std::pair<AnsiString, TObject*>> source;
    const int n = Strings->Count();
    source.reserve(size_t(n));
    for (int i = 0; i < n; ++i) source.emplace_back(Strings->Get(i), Strings->GetObject(i));
    UpdateScope update(*this);
    for (auto& [s, o] : source) AddObject(s, o);
}

void TStrings::Exchange(int Index1, int Index2) {
    UpdateScope update(*this);
    const AnsiString s = Get(Index1);
    TObject* o = GetObject(Index1);
    Put(Index1, Get(Index2));
    PutObject(Index1, GetObject(Index2));
    Put(Index2, s);
    PutObject(Index2, o);
}

void TStrings::Move(int CurIndex, int NewIndex) {
    if (CurIndex == NewIndex) return;
    // Check both ends first: failing after the Delete would lose the item.
    const int n = GetCount();
    if (CurIndex < 0 || CurIndex >= n) Error("List index out of bounds (%d)", CurIndex);
    if (NewIndex < 0 || NewIndex >= n) Error("List index out of bounds (%d)", NewIndex);
    UpdateScope update(*this);
    const AnsiString s = Get(CurIndex);
    TObject* o = GetObject(CurIndex);
    PutObject(CurIndex, nullptr);  // an owning list must not free it on Delete
    Delete(CurIndex);
    InsertObject(NewIndex, s, o);
}

int TStrings::IndexOf(const AnsiString& S) const {
    const int n = GetCount();
    for (int i = 0; i < n; ++i)
        if (CompareStrings(Get(i), S) == 0) return i;
    return -1;
}

int TStrings::IndexOfName(const AnsiString& Name) const {
    const int n = GetCount();
    for (int i = 0; i < n; ++i) {
        const AnsiString s = Get(i);
        const size_t p = s.find(nameValueSeparator_);
        if (p != AnsiString::npos && CompareStrings(s.substr(0, p), Name) == 0) return i;
    }
    return -1;
}

int TStrings::IndexOfObject(TObject* AObject) const {
    const int n = GetCount();
    for (int i = 0; i < n; ++i)
        if (GetObject(i) == AObject) return i;
    return -1;
}

bool TStrings::Equals(const TStrings* Strings) const {
    const int n = GetCount();
    if (n != Strings->GetCount()) return false;
    for (int i = 0; i < n; ++i)
        if (Get(i) != Strings->Get(i)) return false;
    return true;
}

void TStrings::Assign(TPersistent* Source) {
    if (auto* src = dynamic_cast<TStrings*>(Source)) {
        if (src == this) return;
        UpdateScope update(*this);
        Clear();
        delimiter_ = src->delimiter_;
        quoteChar_ = src->quoteChar_;
        nameValueSeparator_ = src->nameValueSeparator_;
        AddStrings(src);
        return;
    }
    inherited::Assign(Source);
}

void TStrings::BeginUpdate() {
    if (updateCount_ == 0) SetUpdateState(true);
    ++updateCount_;
}

void TStrings::EndUpdate() {
    if (updateCount_ == 0) return;  // unbalanced call: nothing to end
    --updateCount_;
    if (updateCount_ == 0) SetUpdateState(false);
}

int TStrings::CompareStrings(const AnsiString& S1, const AnsiString& S2) const { return AnsiCompareText(S1, S2); }

AnsiString TStrings::GetTextStr() const {
    AnsiString result;
    const int n = GetCount();
    for (int i = 0; i < n; ++i) {
        result += Get(i);
        result += "\r\n";
    }
    return result;
}

void TStrings::SetTextStr(const AnsiString& Value) {
    UpdateScope update(*this);
    Clear();
    const char* p = Value.c_str();  // stops at the first NUL
    while (*p != '\0') {
        const char* start = p;
        while (*p != '\0' && *p != '\n' && *p != '\r') ++p;
        Add(AnsiString(start, p));
        if (*p == '\r') ++p;
        if (*p == '\n') ++p;
    }
}

AnsiString TStrings::CommaText() const { return delimitedText(',', '"', false); }

void TStrings::SetCommaText(const AnsiString& Value) { setDelimitedText(Value, ',', '"', false); }

AnsiString TStrings::DelimitedText() const { return delimitedText(delimiter_, quoteChar_, strictDelimiter_); }

void TStrings::SetDelimitedText(const AnsiString& Value) {
    setDelimitedText(Value, delimiter_, quoteChar_, strictDelimiter_);
}

AnsiString TStrings::delimitedText(char delimiter, char quote, bool strict) const {
    const int n = GetCount();
    if (n == 1 && Get(0).empty()) return AnsiString(2, quote);
    AnsiString result;
    for (int i = 0; i < n; ++i) {
        const AnsiString s = Get(i);
        bool needsQuotes = false;
        for (char c : s) {
            if (c == quote || c == delimiter || (strict ? c == '\0' : isBlank(c))) {
                needsQuotes = true;
                break;
            }
        }
        if (i > 0) result += delimiter;
        if (!needsQuotes) {
            result += s;
            continue;
        }
        result += quote;
        for (char c : s) {
            if (c == quote) result += quote;
            result += c;
        }
        result += quote;
    }
    return result;
}

void TStrings::setDelimitedText(const AnsiString& value, char delimiter, char quote, bool strict) {
    UpdateScope update(*this);
    Clear();
    const char* p = value.c_str();  // a NUL ends the text
    auto skipBlanks = [&] {
        if (strict) return;
        while (*p != '\0' && isBlank(*p)) ++p;
    };
    skipBlanks();
    while (*p != '\0') {
        AnsiString item;
        if (*p == quote) {
            // Quoted: runs to the closing quote; a doubled quote stands for one.
            // An unclosed quote takes the rest of the text.
            ++p;
            while (*p != '\0') {
                if (*p == quote) {
                    if (p[1] != quote) {
                        ++p;
                        break;
                    }
                    ++p;
                }
                item += *p++;
            }
        } else {
            const char* start = p;
            while (*p != '\0' && *p != delimiter && (strict || !isBlank(*p))) ++p;
            item.assign(start, p);
        }
        Add(item);
        skipBlanks();
        if (*p == delimiter) {
            if (p[1] == '\0') Add(AnsiString());
            ++p;
            skipBlanks();
        }
    }
}

AnsiString TStrings::Names(int Index) const {
    const AnsiString s = Get(Index);
    const size_t p = s.find(nameValueSeparator_);
    return p == AnsiString::npos ? AnsiString() : s.substr(0, p);
}

AnsiString TStrings::Values(const AnsiString& Name) const {
    const int i = IndexOfName(Name);
    return i < 0 ? AnsiString() : ValueFromIndex(i);
}

void TStrings::SetValues(const AnsiString& Name, const AnsiString& Value) {
    const int i = IndexOfName(Name);
    if (Value.empty()) {
        if (i >= 0) Delete(i);
        return;
    }
    const AnsiString line = Name + nameValueSeparator_ + Value;
    if (i < 0)
        Add(line);
    else
        Put(i, line);
}

AnsiString TStrings::ValueFromIndex(int Index) const {
    if (Index < 0) return AnsiString();
    const AnsiString s = Get(Index);
    const size_t p = s.find(nameValueSeparator_);
    // A line without a separator has no value (rather than losing its first byte).
    return p == AnsiString::npos ? AnsiString() : s.substr(p + 1);
}

void TStrings::SetValueFromIndex(int Index, const AnsiString& Value) {
    if (Value.empty()) {
        if (Index >= 0) Delete(Index);
        return;
    }
    if (Index < 0)
        Add(nameValueSeparator_ + Value);
    else
        Put(Index, Names(Index) + nameValueSeparator_ + Value);
}

void TStrings::LoadFromStream(TStream* Stream) {
    UpdateScope update(*this);
    const int64_t size = Stream->Size() - Stream->Position();
    AnsiString text;
    if (size > 0) {
        text.resize(size_t(size));
        text.resize(size_t(std::max<int64_t>(0, Stream->Read(text.data(), size))));
    }
    SetTextStr(text);
}

void TStrings::SaveToStream(TStream* Stream) const {
    const AnsiString text = GetTextStr();
    Stream->WriteBuffer(text.data(), int64_t(text.size()));
}

void TStrings::LoadFromFile(const AnsiString& FileName) {
    TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&stream);
}

void TStrings::SaveToFile(const AnsiString& FileName) const {
    const AnsiString text = GetTextStr();
    ReplaceFile(FileName, text.data(), int64_t(text.size()));
}

// ---------------------------------------------------------------------------
// TStringList

TStringList::~TStringList() {
    OnChange.Clear();
    OnChanging.Clear();
    if (ownsObjects_)
        for (Item& item : items_) TObject::Free(std::exchange(item.Object, nullptr));
}

void TStringList::checkIndex(int Index) const {
    if (Index < 0 || Index >= int(items_.size())) Error("List index out of bounds (%d)", Index);
}

void TStringList::Changed() {
    if (UpdateCount() == 0) OnChange(this);
}

void TStringList::Changing() {
    if (UpdateCount() == 0) OnChanging(this);
}

void TStringList::SetUpdateState(bool Updating) {
    if (Updating)
        Changing();
    else
        Changed();
}

int TStringList::CompareStrings(const AnsiString& S1, const AnsiString& S2) const {
    return caseSensitive_ ? AnsiCompareStr(S1, S2) : AnsiCompareText(S1, S2);
}

AnsiString TStringList::Get(int Index) const {
    checkIndex(Index);
    return items_[size_t(Index)].S;
}

TObject* TStringList::GetObject(int Index) const {
    checkIndex(Index);
    return items_[size_t(Index)].Object;
}

void TStringList::Put(int Index, const AnsiString& S) {
    if (sorted_) Error("Operation not allowed on sorted list");
    checkIndex(Index);
    Changing();
    items_[size_t(Index)].S = S;
    Changed();
}

void TStringList::PutObject(int Index, TObject* AObject) {
    checkIndex(Index);
    Changing();
    items_[size_t(Index)].Object = AObject;
    Changed();
}

int TStringList::Add(const AnsiString& S) { return AddObject(S, nullptr); }

int TStringList::AddObject(const AnsiString& S, TObject* AObject) {
    int index = int(items_.size());
    if (sorted_ && Find(S, index)) {
        if (duplicates_ == dupIgnore) return index;
        if (duplicates_ == dupError) Error("String list does not allow duplicates");
    }
    insertItem(index, S, AObject);
    return index;
}

void TStringList::Insert(int Index, const AnsiString& S) { InsertObject(Index, S, nullptr); }

void TStringList::InsertObject(int Index, const AnsiString& S, TObject* AObject) {
    if (sorted_) Error("Operation not allowed on sorted list");
    if (Index < 0 || Index > int(items_.size())) Error("List index out of bounds (%d)", Index);
    insertItem(Index, S, AObject);
}

void TStringList::insertItem(int Index, const AnsiString& S, TObject* AObject) {
    Changing();
    items_.insert(items_.begin() + Index, Item{S, AObject});
    Changed();
}

void TStringList::Delete(int Index) {
    checkIndex(Index);
    Changing();
    TObject* o = items_[size_t(Index)].Object;
    items_.erase(items_.begin() + Index);
    if (ownsObjects_) TObject::Free(o);
    Changed();
}

void TStringList::Clear() {
    if (items_.empty()) return;
    Changing();
    std::vector<Item> old;
    old.swap(items_);
    if (ownsObjects_)
        for (Item& item : old) TObject::Free(item.Object);
    Changed();
}

void TStringList::Exchange(int Index1, int Index2) {
    checkIndex(Index1);
    checkIndex(Index2);
    Changing();
    std::swap(items_[size_t(Index1)], items_[size_t(Index2)]);
    Changed();
}

void TStringList::Move(int CurIndex, int NewIndex) {
    if (CurIndex == NewIndex) return;
    if (sorted_) Error("Operation not allowed on sorted list");
    checkIndex(CurIndex);
    checkIndex(NewIndex);
    Changing();
    auto first = items_.begin();
    if (CurIndex < NewIndex)
        std::rotate(first + CurIndex, first + CurIndex + 1, first + NewIndex + 1);
    else
        std::rotate(first + NewIndex, first + CurIndex, first + CurIndex + 1);
    Changed();
}

int TStringList::IndexOf(const AnsiString& S) const {
    if (!sorted_) return inherited::IndexOf(S);
    int index = 0;
    return Find(S, index) ? index : -1;
}

bool TStringList::Find(const AnsiString& S, int& Index) const {
    bool found = false;
    int lo = 0;
    int hi = int(items_.size()) - 1;
    while (lo <= hi) {
        const int mid = lo + (hi - lo) / 2;
        const int c = CompareStrings(items_[size_t(mid)].S, S);
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (c == 0) {
                found = true;
                if (duplicates_ != dupAccept) lo = mid;  // any match will do
            }
        }
    }
    Index = lo;
    return found;
}

void TStringList::Sort() {
    CustomSort([](TStringList* list, int a, int b) {
        return list->CompareStrings(list->items_[size_t(a)].S, list->items_[size_t(b)].S);
    });
}

void TStringList::CustomSort(TStringListSortCompare Compare) {
    if (sorted_ || items_.size() < 2) return;  // a sorted list is kept in order already
    Changing();
    sortItems(Compare);
    Changed();
}

// Heap sort by exchanges: the comparison sees the items at their current
// indexes, and an inconsistent comparison cannot run it out of bounds.
void TStringList::sortItems(const TStringListSortCompare& Compare) {
    const int n = int(items_.size());
    auto siftDown = [&](int root, int end) {
        for (;;) {
            int child = 2 * root + 1;
            if (child >= end) return;
            if (child + 1 < end && Compare(this, child, child + 1) < 0) ++child;
            if (Compare(this, root, child) >= 0) return;
            std::swap(items_[size_t(root)], items_[size_t(child)]);
            root = child;
        }
    };
    for (int i = n / 2 - 1; i >= 0; --i) siftDown(i, n);
    for (int end = n - 1; end > 0; --end) {
        std::swap(items_[0], items_[size_t(end)]);
        siftDown(0, end);
    }
}

void TStringList::SetSorted(bool Value) {
    if (sorted_ == Value) return;
    if (Value) Sort();
    sorted_ = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
    if (caseSensitive_ == Value) return;
    caseSensitive_ = Value;
    // The order depends on the comparison: keep a sorted list searchable.
    if (sorted_ && items_.size() > 1) {
        Changing();
        sortItems([](TStringList* list, int a, int b) {
            return list->CompareStrings(list->items_[size_t(a)].S, list->items_[size_t(b)].S);
        });
        Changed();
    }
}

void TStringList::SetCapacity(int NewCapacity) {
    if (NewCapacity < int(items_.size())) Error("List capacity out of bounds (%d)", NewCapacity);
    items_.reserve(size_t(NewCapacity));
}

// ---------------------------------------------------------------------------
// Streaming

void TStrings::DefineProperties(TFiler& Filer) {
    inherited::DefineProperties(Filer);
    // Written when not empty, or, below an ancestor, when it differs from it.
    bool hasData = GetCount() > 0;
    if (TPersistent* ancestor = Filer.Ancestor()) {
        auto* a = dynamic_cast<TStrings*>(ancestor);
        hasData = !a || !Equals(a);
    }
    Filer.DefineProperty(
        "Strings", [this](TReader& r) { readData(r); }, [this](TWriter& w) { writeData(w); }, hasData);
}

void TStrings::readData(TReader& Reader) {
    Reader.ReadListBegin();
    {
        UpdateScope update(*this);
        Clear();
        while (!Reader.EndOfList()) Add(Reader.ReadString());
    }
    Reader.ReadListEnd();
}

void TStrings::writeData(TWriter& Writer) {
    Writer.WriteListBegin();
    const int n = GetCount();
    for (int i = 0; i < n; ++i) Writer.WriteString(Get(i));
    Writer.WriteListEnd();
}
