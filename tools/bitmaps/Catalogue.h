// The declarative table of every bitmap the program shows: image lists (one
// folder each, files named by index) and single pictures.
#pragma once

#include "rtl/Languages.h"

#include <QSize>
#include <QString>

#include <array>
#include <vector>

namespace bmp {

// UTF-8 texts in the order of the languages' table.
struct Words {
    std::array<const char*, LanguageCount> texts{};

    bool empty() const { return texts[0] == nullptr; }
    bool complete() const;           // a text in every language
    QString In(int language) const;  // language 1..LanguageCount
};

enum class Look {
    Button,  // text button face
    ButtonPressed,
    ButtonDisabled,
    Tab,          // tab in the strip, behind
    TabSelected,  // tab in front, joined to the page below
    Round,        // round player button
    RoundPressed,
    Emblem,  // glyph alone over the form colour (flags, icons, pictures)
    Strip,   // the tab strip background
};

enum class Glyph {
    None,
    Play,
    Pause,
    Stop,
    Previous,
    Next,
    Export,
    Volume,
    Muted,
    Delete,
    Record,
    Import,
    AddressBook,
    TabUsers,
    TabFilter,
    TabConnection,
    Flag,  // of the picture's language
    AppIcon,
    User,
    Earth,
    Lock,
};

// One bitmap of a list, at offset k inside its language block.
struct Slot {
    int k = 0;
    Look look = Look::Button;
    Words words{};
    Glyph glyph = Glyph::None;
};

struct ImageListEntry {
    QString folder;  // <form class>.<image list>
    QSize size;
    int perLanguage = 0;  // 0: one set for every language
    std::vector<Slot> slots;
    // The buttons shown together, whose captions come out in one size; empty:
    // every list of the form.
    QString row{};

    int Count() const { return perLanguage == 0 ? static_cast<int>(slots.size()) : perLanguage * LanguageCount; }
    QString Rule() const;
};

struct PictureEntry {
    QString file;  // file name without extension
    QSize size;
    Look look = Look::Emblem;
    Glyph glyph = Glyph::None;
    int language = 0;  // of a flag, 1..LanguageCount
};

const std::vector<ImageListEntry>& ImageLists();
const std::vector<PictureEntry>& Pictures();
const std::vector<int>& IconSizes();

// Empty when the table is sound; otherwise one line per fault (gaps,
// duplicate offsets, missing texts).
QStringList CheckCatalogue();

}  // namespace bmp
