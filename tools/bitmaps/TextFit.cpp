#include "TextFit.h"

#include "Style.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace bmp {
namespace {

QFont MakeFont(int px, bool bold) {
    QFont f(QString::fromLatin1(kFontFamily));
    f.setPixelSize(px);
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferVerticalHinting);
    f.setKerning(true);
    return f;
}

// Baselines of the lines, the block centred on the box's middle by cap height
// so that mixed-case captions look centred.
std::vector<qreal> Baselines(const TextLayout& l) {
    QFontMetricsF fm(l.font);
    const qreal step = fm.lineSpacing() * 0.92;
    const qreal block = fm.capHeight() + step * (l.lines.size() - 1);
    const qreal first = l.box.center().y() - block / 2 + fm.capHeight();
    std::vector<qreal> out;
    for (int i = 0; i < l.lines.size(); ++i) out.push_back(first + step * i);
    return out;
}

// The ink of each line, placed as DrawText places it, must lie inside the box.
bool Fits(const TextLayout& l) {
    QFontMetricsF fm(l.font);
    const std::vector<qreal> base = Baselines(l);
    for (int i = 0; i < l.lines.size(); ++i) {
        const QString& line = l.lines[i];
        const qreal advance = fm.horizontalAdvance(line) * l.condense;
        const QRectF ink = fm.tightBoundingRect(line);
        const qreal left = l.box.center().x() - advance / 2;
        const qreal inkLeft = left + std::min<qreal>(0, ink.left()) * l.condense;
        const qreal inkRight = left + std::max(fm.horizontalAdvance(line), ink.right()) * l.condense;
        // Accents over capitals reach above the ascent line of some fonts; the
        // ascent keeps room for them.
        const qreal top = base[i] - std::max(fm.ascent() * 0.93, -ink.top());
        const qreal bottom = base[i] + std::max<qreal>(ink.bottom(), 0);
        if (inkLeft < l.box.left() || inkRight > l.box.right()) return false;
        if (top < l.box.top() - 0.5 || bottom > l.box.bottom() + 0.5) return false;
    }
    return true;
}

// Two lines broken at the space that makes them most even.
std::optional<QStringList> SplitInTwo(const QString& text, const QFont& font) {
    QFontMetricsF fm(font);
    std::optional<QStringList> best;
    qreal bestWidth = 0;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char(' ')) continue;
        const QStringList lines{text.left(i), text.mid(i + 1)};
        const qreal w = std::max(fm.horizontalAdvance(lines[0]), fm.horizontalAdvance(lines[1]));
        if (!best || w < bestWidth) {
            best = lines;
            bestWidth = w;
        }
    }
    return best;
}

// One try: a type size and condensing, on one line or, when allowed and one
// line does not fit, on two.
struct Step {
    int px;
    qreal condense;
    bool twoLines;
};

// The tries in order: shrink a little, condense a little at that size, two
// lines when there is room for them, and last one line smaller still.
std::vector<Step> Steps(const TextStyle& style) {
    const int softMin = std::max(style.minPx, style.nominalPx - 2);
    std::vector<Step> steps;
    for (int px = style.nominalPx; px >= softMin; --px) steps.push_back({px, 1.0, false});
    for (qreal c : {0.94, 0.88}) steps.push_back({softMin, c, false});
    for (int px = style.nominalPx; px >= style.minPx; --px)
        for (qreal c : {1.0, 0.94, 0.88}) steps.push_back({px, c, true});
    for (int px = softMin - 1; px >= style.minPx; --px)
        for (qreal c : {1.0, 0.94, 0.88}) steps.push_back({px, c, false});
    return steps;
}

}  // namespace

std::optional<TextLayout> FitText(const QString& text, const QRectF& box, const TextStyle& style) {
    const std::vector<Step> steps = Steps(style);
    for (size_t i = std::max(0, style.firstStep); i < steps.size(); ++i) {
        const Step& s = steps[i];
        const QFont font = MakeFont(s.px, style.bold);
        TextLayout l{font, s.condense, {text}, box, int(i)};
        if (Fits(l)) return l;
        if (!s.twoLines) continue;
        if (auto lines = SplitInTwo(text, font)) {
            l.lines = *lines;
            if (Fits(l)) return l;
        }
    }
    return std::nullopt;
}

void DrawText(QPainter& p, const TextLayout& layout, const QColor& colour, QPointF shift) {
    QFontMetricsF fm(layout.font);
    const std::vector<qreal> base = Baselines(layout);
    p.save();
    p.setFont(layout.font);
    p.setPen(colour);
    for (int i = 0; i < layout.lines.size(); ++i) {
        const QString& line = layout.lines[i];
        const qreal advance = fm.horizontalAdvance(line) * layout.condense;
        // Whole-pixel baselines keep the stems sharp.
        const QPointF at(std::round(layout.box.center().x() - advance / 2 + shift.x()),
                         std::round(base[i] + shift.y()));
        p.save();
        p.translate(at);
        p.scale(layout.condense, 1.0);
        p.drawText(QPointF(0, 0), line);
        p.restore();
    }
    p.restore();
}

}  // namespace bmp
