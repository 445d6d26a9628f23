// One review page per image list: every bitmap at its real size and enlarged,
// with its index, one row per language.
#pragma once

#include <QImage>
#include <QString>

#include <vector>

namespace bmp {

struct SheetCell {
    QString label;
    QImage image;
};

struct SheetRow {
    QString label;  // "PL", "EN", "RU" or empty
    std::vector<SheetCell> cells;
};

QImage ContactSheet(const QString& title, const std::vector<SheetRow>& rows);

// The tab strip as the main window shows it: the background, one row of tabs
// side by side per entry of tabRows, and a piece of the page below each.
QImage TabStripPreview(const QImage& strip, const std::vector<std::vector<QImage>>& tabRows);

}  // namespace bmp
