// Colours and metrics shared by every bitmap, so the whole set stays one family.
#pragma once

#include <QColor>

namespace bmp {

struct Palette {
    // Every form and frame paints this (0x6F8A91 as a BGR TColor); bitmaps are
    // drawn over it so they sit on it without fringes.
    QColor form{0x91, 0x8A, 0x6F};

    // Light warm-grey button face, normal and pressed.
    QColor faceTop{0xF7, 0xF4, 0xEC};
    QColor faceBottom{0xDA, 0xD4, 0xC5};
    QColor pressedTop{0xBB, 0xB4, 0xA1};
    QColor pressedBottom{0xD2, 0xCC, 0xBD};
    QColor border{0x57, 0x52, 0x41};
    QColor pressedBorder{0x45, 0x41, 0x34};
    QColor highlight{255, 255, 255, 170};
    QColor shadow{0x3A, 0x36, 0x2A, 70};

    QColor text{0x26, 0x24, 0x1F};
    QColor disabledText{0x8C, 0x86, 0x77};

    // Tab strip: darker than the page; the selected tab fades into the page.
    QColor strip{0x6E, 0x69, 0x53};
    QColor stripLine{0x4E, 0x4A, 0x3A};
    QColor tabTop{0x8A, 0x84, 0x6C};
    QColor tabBottom{0x7B, 0x75, 0x5E};
    QColor tabText{0xF0, 0xEC, 0xE1};
    QColor tabSelectedTop{0xB4, 0xAD, 0x92};

    // Glyphs.
    QColor ink{0x33, 0x31, 0x2A};
    QColor play{0x2E, 0x6B, 0x3F};
    QColor record{0xB8, 0x3A, 0x2E};
    QColor paper{0xF2, 0xEE, 0xE4};
};

inline const Palette& Colours() {
    static const Palette p;
    return p;
}

inline constexpr char kFontFamily[] = "DejaVu Sans";

}  // namespace bmp
