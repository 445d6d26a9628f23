#pragma once
// The program's languages. Their order is that of the translation tables'
// columns and of the translation components' language numbers (1 is the
// first), so everything that goes by language reads this one table.
#include <array>
#include <cstddef>

struct TLanguage {
    const char* Code;  // the marker file "<Code>.lang" beside the program; the toolkit's own texts
    const char* Name;  // in English, for messages about the translation tables
    // In Polish, as the layouts are written: the translation components' and
    // the dispatcher's LangNames, which the layout compiler writes from here.
    const char* LayoutName;
    int CodePage;      // of its translated texts
    bool AsciiOnly;    // its texts may hold nothing but ASCII
    const char* Flag;  // the main window's flag image that switches to it; also its picture's name
    bool LongTexts;    // its texts need more room than the dialogs' fixed sizes give
};

inline constexpr std::array<TLanguage, 3> Languages = {{
    {"pl", "Polish", "Polski", 1250, false, "ImagePL", false},
    {"en", "English", "Angielski", 1250, true, "ImageEN", false},
    {"ru", "Russian", "Rosyjski", 1251, false, "ImageRU", true},
}};

inline constexpr int LanguageCount = static_cast<int>(Languages.size());

// The language numbered 1..LanguageCount; null for any other number.
constexpr const TLanguage* LanguageNumbered(int Number) {
    return Number >= 1 && Number <= LanguageCount ? &Languages[static_cast<std::size_t>(Number - 1)] : nullptr;
}
