// The declarative table of every bitmap the program shows: image lists (one
// folder each, files named by index) and single pictures.
#pragma once

#include <QSize>
#include <QString>

#include <vector>

namespace bmp {

constexpr int kLanguages = 3;  // 1 Polish, 2 English, 3 Russian

// UTF-8 texts in language order.
struct Words {
    const char* pl = nullptr;
    const char* en = nullptr;
    const char* ru = nullptr;

    bool empty() const { return pl == nullptr; }
    QString In(int language) const;  // language 1..3
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
    FlagPL,
    FlagUK,
    FlagRU,
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

    int Count() const { return perLanguage == 0 ? static_cast<int>(slots.size()) : perLanguage * kLanguages; }
    QString Rule() const;
};

struct PictureEntry {
    QString file;  // file name without extension
    QSize size;
    Look look = Look::Emblem;
    Glyph glyph = Glyph::None;
};

const std::vector<ImageListEntry>& ImageLists();
const std::vector<PictureEntry>& Pictures();
const std::vector<int>& IconSizes();

// Empty when the table is sound; otherwise one line per fault (gaps,
// duplicate offsets, missing texts).
QStringList CheckCatalogue();

}  // namespace bmp
