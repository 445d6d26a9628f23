#include "localization/LxTranslationData.h"

#include <memory>

AnsiString EncodeTranslationLine(const AnsiString& Entry) {
    AnsiString out = Entry;
    for (char& c : out) {
        if (c == '\r')
            c = '\x19';
        else if (c == '\n')
            c = '\x1A';
    }
    return out;
}

AnsiString DecodeTranslationLine(const AnsiString& Line) {
    AnsiString out = Line;
    for (char& c : out) {
        if (c == '\x19')
            c = '\r';
        else if (c == '\x1A')
            c = '\n';
    }
    return out;
}

AnsiString WriteTranslationData(const TlxListsByType& Lists) {
    AnsiString out;
    for (int t = 0; t < StringsTypeCount; ++t) {
        TStrings* list = Lists(TStringsType(t));
        if (!list) continue;
        out += StringsTypeName(TStringsType(t));
        out += "\r\n";
        for (int i = 0; i < list->Count(); ++i) {
            out += EncodeTranslationLine(list->Strings(i));
            out += "\r\n";
        }
    }
    return out;
}

AnsiString WriteTranslationData(const TlxTranslationLists& Lists) {
    std::array<std::unique_ptr<TStringList>, StringsTypeCount> lists;
    for (int t = 0; t < StringsTypeCount; ++t) {
        if (!Lists[size_t(t)]) continue;
        lists[size_t(t)] = std::make_unique<TStringList>();
        for (const AnsiString& entry : *Lists[size_t(t)]) lists[size_t(t)]->Add(entry);
    }
    return WriteTranslationData([&lists](TStringsType t) -> TStrings* { return lists[size_t(t)].get(); });
}

void ReadTranslationData(const AnsiString& Data, const TlxListsByType& Lists) {
    TStringList lines;
    lines.SetText(Data);
    TStrings* current = nullptr;
    for (int i = 0; i < lines.Count(); ++i) {
        const AnsiString line = lines.Strings(i);
        TStringsType type;
        if (StringsTypeFromName(line, type)) {
            current = Lists(type);
            if (current) current->Clear();
            continue;
        }
        if (current) current->Add(DecodeTranslationLine(line));
    }
}

TlxTranslationLists ReadTranslationData(const AnsiString& Data) {
    TlxTranslationLists result;
    std::array<std::unique_ptr<TStringList>, StringsTypeCount> lists;
    for (auto& l : lists) l = std::make_unique<TStringList>();
    std::array<bool, StringsTypeCount> seen{};
    ReadTranslationData(Data, [&](TStringsType t) -> TStrings* {
        seen[size_t(t)] = true;
        return lists[size_t(t)].get();
    });
    for (int t = 0; t < StringsTypeCount; ++t) {
        if (!seen[size_t(t)]) continue;
        std::vector<AnsiString> entries;
        for (int i = 0; i < lists[size_t(t)]->Count(); ++i) entries.push_back(lists[size_t(t)]->Strings(i));
        result[size_t(t)] = std::move(entries);
    }
    return result;
}
