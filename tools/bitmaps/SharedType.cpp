#include "SharedType.h"

#include <algorithm>
#include <set>

namespace bmp {
namespace {

// One size for a row of buttons (or of tabs) in every language, so that a
// label keeps its size when the language changes.
QString SizeGroup(const ImageListEntry& l, const Slot& s) {
    const bool tab = s.look == Look::Tab || s.look == Look::TabSelected;
    const QString row = l.row.isEmpty() ? l.folder.section(QLatin1Char('.'), 0, 0) : l.row;
    return QStringLiteral("%1/%2").arg(row, tab ? QStringLiteral("tabs") : QStringLiteral("buttons"));
}

}  // namespace

TypeSteps SharedSteps(const RenderOptions& options) {
    TypeSteps steps;
    for (const ImageListEntry& l : ImageLists())
        for (int lang = 1; lang <= LanguageCount; ++lang)
            for (const Slot& s : l.slots) {
                const int step = RenderSlot(s, l.size, lang, options).textStep;
                if (step < 0) continue;
                auto [it, added] = steps.emplace(SizeGroup(l, s), step);
                if (!added) it->second = std::max(it->second, step);
            }
    return steps;
}

int SharedStep(const TypeSteps& steps, const ImageListEntry& list, const Slot& slot) {
    const auto it = steps.find(SizeGroup(list, slot));
    return it == steps.end() ? 0 : it->second;
}

QStringList UnevenRows(const RenderOptions& options) {
    const TypeSteps shared = SharedSteps(options);
    std::map<QString, std::set<int>> taken;
    for (const ImageListEntry& l : ImageLists())
        for (int lang = 1; lang <= LanguageCount; ++lang)
            for (const Slot& s : l.slots) {
                const int step = RenderSlot(s, l.size, lang, options, SharedStep(shared, l, s)).textStep;
                if (step >= 0) taken[SizeGroup(l, s)].insert(step);
            }
    QStringList faults;
    for (const auto& [group, steps] : taken)
        if (steps.size() > 1)
            faults << QStringLiteral("the captions of %1 come out in %2 sizes").arg(group).arg(steps.size());
    return faults;
}

}  // namespace bmp
