#include "ContactSheet.h"

#include "Style.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace bmp {
namespace {

constexpr int kPad = 10;
constexpr int kLabel = 16;
constexpr int kRowLabel = 34;

int Zoom(const QImage& img) {
    if (img.width() <= 32) return 4;
    return img.width() <= 160 ? 2 : 1;
}

QFont SheetFont(int px, bool bold = false) {
    QFont f(QString::fromLatin1(kFontFamily));
    f.setPixelSize(px);
    f.setBold(bold);
    return f;
}

}  // namespace

QImage ContactSheet(const QString& title, const std::vector<SheetRow>& rows) {
    // Cells are as wide as their own bitmap needs; rows as tall as their
    // tallest cell. Image lists have one size, so their columns line up.
    const QFontMetrics labelMetrics(SheetFont(11));
    auto cellWidth = [&](const SheetCell& c) {
        return std::max({c.image.width() * Zoom(c.image), c.image.width() + 40,
                         labelMetrics.horizontalAdvance(c.label) + 4}) +
               2 * kPad;
    };
    auto cellHeight = [](const SheetCell& c) {
        const int z = Zoom(c.image);
        return kLabel + c.image.height() + 6 + (z > 1 ? c.image.height() * z : 0) + 2 * kPad;
    };
    int width = 0;
    int height = 36 + kPad;
    std::vector<int> rowHeights;
    for (const SheetRow& row : rows) {
        int w = kRowLabel + kPad;
        int h = 0;
        for (const SheetCell& c : row.cells) {
            w += cellWidth(c);
            h = std::max(h, cellHeight(c));
        }
        width = std::max(width, w);
        height += h;
        rowHeights.push_back(h);
    }
    width = std::max(width, QFontMetrics(SheetFont(14, true)).horizontalAdvance(title) + 2 * kPad);

    QImage sheet(width, height, QImage::Format_RGB32);
    sheet.fill(QColor(0xE4, 0xE1, 0xD9));
    QPainter p(&sheet);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(QColor(0x26, 0x24, 0x1F));
    p.setFont(SheetFont(14, true));
    p.drawText(QPointF(kPad, 24), title);

    int y = 36;
    for (size_t r = 0; r < rows.size(); ++r) {
        const SheetRow& row = rows[r];
        const int cellH = rowHeights[r];
        p.setFont(SheetFont(12, true));
        p.setPen(QColor(0x26, 0x24, 0x1F));
        p.drawText(QRectF(0, y, kRowLabel, cellH), Qt::AlignCenter, row.label);
        int x = kRowLabel;
        for (const SheetCell& c : row.cells) {
            const QRect cell(x + 2, y + 2, cellWidth(c) - 4, cellH - 4);
            p.fillRect(cell, Colours().form);
            p.setFont(SheetFont(11));
            p.setPen(QColor(0xF4, 0xF1, 0xEA));
            p.drawText(QPointF(cell.left() + 6, cell.top() + 14), c.label);
            int iy = cell.top() + kLabel + 2;
            p.drawImage(QPoint(cell.left() + (cell.width() - c.image.width()) / 2, iy), c.image);
            const int z = Zoom(c.image);
            if (z > 1) {
                iy += c.image.height() + 6;
                const QImage big = c.image.scaled(c.image.size() * z, Qt::IgnoreAspectRatio, Qt::FastTransformation);
                p.drawImage(QPoint(cell.left() + (cell.width() - big.width()) / 2, iy), big);
            }
            x += cellWidth(c);
        }
        y += cellH;
    }
    return sheet;
}

QImage TabStripPreview(const QImage& strip, const std::vector<std::vector<QImage>>& tabRows) {
    constexpr int kPage = 26;
    const int rowH = strip.height() + kPage + kPad;
    QImage sheet(strip.width() + 2 * kPad, kPad + static_cast<int>(tabRows.size()) * rowH, QImage::Format_RGB32);
    sheet.fill(QColor(0xE4, 0xE1, 0xD9));
    QPainter p(&sheet);
    int y = kPad;
    for (const std::vector<QImage>& tabs : tabRows) {
        p.drawImage(QPoint(kPad, y), strip);
        int x = kPad + 4;
        for (const QImage& t : tabs) {
            p.drawImage(QPoint(x, y), t);
            x += t.width();
        }
        p.fillRect(QRect(kPad, y + strip.height(), strip.width(), kPage), Colours().form);
        y += rowH;
    }
    return sheet;
}

}  // namespace bmp
