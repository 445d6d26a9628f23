#include "SharedType.h"

#include <algorithm>

namespace bmp {
namespace {

QString SizeGroup(const ImageListEntry& l, const Slot& s, int language) {
    const bool tab = s.look == Look::Tab || s.look == Look::TabSelected;
    return QStringLiteral("%1/%2/%3").arg(l.folder.section(QLatin1Char('.'), 0, 0)).arg(language).arg(tab ? 1 : 0);
}

}  // namespace

TypeSizes SharedSizes(const RenderOptions& options) {
    TypeSizes sizes;
    for (const ImageListEntry& l : ImageLists())
        for (int lang = 1; lang <= kLanguages; ++lang)
            for (const Slot& s : l.slots) {
                const int px = RenderSlot(s, l.size, lang, options).textPx;
                if (px == 0) continue;
                auto [it, added] = sizes.emplace(SizeGroup(l, s, lang), px);
                if (!added) it->second = std::min(it->second, px);
            }
    return sizes;
}

int SharedSize(const TypeSizes& sizes, const ImageListEntry& list, const Slot& slot, int language) {
    const auto it = sizes.find(SizeGroup(list, slot, language));
    return it == sizes.end() ? 0 : it->second;
}

}  // namespace bmp
