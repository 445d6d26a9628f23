// One section of the in-memory INI file.
#include "localization/MemIni.h"

#include "rtl/Convert.h"
#include "rtl/StrUtils.h"

#include <algorithm>
#include <map>

YORDE_IMPLEMENT_CLASS(TMemIniValue, [](TClassBuilder<TMemIniValue>&) {})
YORDE_IMPLEMENT_CLASS(TMemIniEntry, [](TClassBuilder<TMemIniEntry>&) {})

TMemIniEntry::TMemIniEntry() = default;

TMemIniEntry::~TMemIniEntry() { Clear(); }

const TMemIniEntry::Line& TMemIniEntry::at(int Index) const {
    if (Index < 0 || Index >= GetStringCount())
        throw EStringListError("List index out of bounds (" + IntToStr(Index) + ")");
    return keys_[size_t(Index)];
}

TMemIniEntry::Line& TMemIniEntry::at(int Index) {
    return const_cast<Line&>(static_cast<const TMemIniEntry*>(this)->at(Index));
}

void TMemIniEntry::divideKeyValue(const AnsiString& Line, AnsiString& Key, AnsiString& Value) {
    const size_t eq = Line.find('=');
    if (eq == AnsiString::npos) {
        Key = Line;
        Value.clear();
    } else {
        Key = Line.substr(0, eq);
        Value = Line.substr(eq + 1);
    }
}

bool TMemIniEntry::Find(const AnsiString& Key, int& Index) const {
    auto it = std::lower_bound(keys_.begin(), keys_.end(), Key,
                               [](const Line& L, const AnsiString& K) { return AnsiCompareText(L.Key, K) < 0; });
    Index = int(it - keys_.begin());
    return it != keys_.end() && AnsiCompareText(it->Key, Key) == 0;
}

int TMemIniEntry::Add(const AnsiString& Key, const AnsiString& Value) {
    int index = 0;
    Find(Key, index);
    keys_.insert(keys_.begin() + index, Line{Key, std::make_unique<TMemIniValue>(Value)});
    return index;
}

int TMemIniEntry::Add(const AnsiString& Line) {
    AnsiString key, value;
    divideKeyValue(Line, key, value);
    return Add(key, value);
}

void TMemIniEntry::AddLines(const std::vector<AnsiString>& Lines) {
    if (!keys_.empty()) {
        for (const AnsiString& line : Lines) Add(line);
        return;
    }
    std::vector<Line> lines;
    std::vector<AnsiString> folded;
    lines.reserve(Lines.size());
    folded.reserve(Lines.size());
    for (const AnsiString& line : Lines) {
        AnsiString key, value;
        divideKeyValue(line, key, value);
        // Keys compare as their small-letter forms do, byte by byte.
        folded.push_back(AnsiLowerCase(key));
        lines.push_back(Line{std::move(key), std::make_unique<TMemIniValue>(std::move(value))});
    }
    std::vector<size_t> order(lines.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t A, size_t B) { return folded[A] < folded[B]; });
    // Each key went in front of the equal ones before it: equal keys stand
    // in the reverse of their order in the lines.
    for (size_t run = 0; run < order.size();) {
        size_t end = run + 1;
        while (end < order.size() && folded[order[end]] == folded[order[run]]) ++end;
        std::reverse(order.begin() + long(run), order.begin() + long(end));
        run = end;
    }
    keys_.reserve(lines.size());
    for (size_t i : order) keys_.push_back(std::move(lines[i]));
}

void TMemIniEntry::WritePairs(const std::vector<std::pair<AnsiString, AnsiString>>& Pairs) {
    // Writing a key again replaces what the earlier write left: the last
    // pair of each key counts, in place of the first key of its run.
    std::map<AnsiString, size_t> last;
    for (size_t i = 0; i < Pairs.size(); ++i) last[AnsiLowerCase(Pairs[i].first)] = i;
    std::vector<Line> out;
    out.reserve(keys_.size() + last.size());
    auto written = [&Pairs](size_t I) { return Line{Pairs[I].first, std::make_unique<TMemIniValue>(Pairs[I].second)}; };
    auto next = last.begin();
    for (size_t k = 0; k < keys_.size();) {
        const AnsiString folded = AnsiLowerCase(keys_[k].Key);
        if (next != last.end() && next->first < folded) {
            out.push_back(written(next->second));
            ++next;
        } else if (next != last.end() && next->first == folded) {
            out.push_back(written(next->second));
            ++next;
            ++k;
        } else {
            out.push_back(std::move(keys_[k]));
            ++k;
        }
    }
    for (; next != last.end(); ++next) out.push_back(written(next->second));
    keys_ = std::move(out);
}

void TMemIniEntry::Delete(int Index) {
    at(Index);
    keys_.erase(keys_.begin() + Index);
}

void TMemIniEntry::Clear() { keys_.clear(); }

void TMemIniEntry::Assign(TPersistent* Source) {
    if (auto* lines = dynamic_cast<TStrings*>(Source)) {
        std::vector<AnsiString> all;
        all.reserve(size_t(lines->Count()));
        for (int i = 0; i < lines->Count(); ++i) all.push_back(lines->Strings(i));
        Clear();
        AddLines(all);
        return;
    }
    inherited::Assign(Source);
}
