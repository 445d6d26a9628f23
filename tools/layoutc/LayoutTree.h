#pragma once
// The text form of a layout as a tree with line numbers, for the checks.
// The text is the one ObjectTextToBinary accepted already; this parser
// follows the same grammar and keeps what the checks need.
#include <cstddef>
#include <string>
#include <vector>

struct TLayoutProperty;

struct TLayoutItem {  // one item of a collection value
    int Line = 0;
    std::vector<TLayoutProperty> Properties;
};

struct TLayoutValue {
    enum TKind { Integer, Float, String, Ident, Set, List, Collection, Binary };
    TKind Kind = Integer;
    int Line = 0;
    std::string Text;                   // number text, string bytes, identifier (dotted)
    bool Wide = false;                  // a string with a #n above 255
    std::vector<std::string> Elements;  // Set
    std::vector<TLayoutValue> Items;    // List
    std::vector<TLayoutItem> CollectionItems;
};

struct TLayoutProperty {
    std::string Path;  // "Caption", "Font.Name"
    int Line = 0;
    TLayoutValue Value;
};

struct TLayoutObject {
    bool Inherited = false;
    bool Inline = false;
    std::string Name;
    std::string ClassName;
    int Line = 0;
    std::vector<TLayoutProperty> Properties;
    std::vector<TLayoutObject> Children;
    // Offsets in the text before the first and after the last property:
    // where one more may go.
    size_t PropertiesBegin = 0;
    size_t PropertiesEnd = 0;

    // The last assignment of Path (case-insensitive), or null.
    const TLayoutProperty* Find(const std::string& Path) const;
};

// EParserError-free: the text was accepted by ObjectTextToBinary first.
// Throws std::runtime_error only if the two parsers ever disagree.
TLayoutObject ParseLayoutTree(const std::string& Text);
