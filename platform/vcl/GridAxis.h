#pragma once
// One direction of a grid's layout (columns across or rows down): where the
// cells lie in the client area at a given scroll position. Each cell is
// followed by its grid line; an extent below zero hides the cell and its line.
#include <algorithm>
#include <vector>

namespace yorde_grid {

struct Axis {
    const std::vector<int>* Extents = nullptr;
    int Count = 0;
    int Fixed = 0;
    int First = 0;  // the first scrolled cell in view
    int LineWidth = 0;
    int Client = 0;  // the client extent

    bool Hidden(int i) const { return (*Extents)[size_t(i)] < 0; }
    int Extent(int i) const { return std::max(0, (*Extents)[size_t(i)]); }
    int Step(int i) const { return Hidden(i) ? 0 : (*Extents)[size_t(i)] + LineWidth; }

    int FixedBoundary() const {
        int p = 0;
        for (int i = 0; i < Fixed; ++i) p += Step(i);
        return p;
    }

    // Where cell i starts; false when it is hidden or scrolled out before First.
    bool Start(int i, int& Pos) const {
        if (i < 0 || i >= Count || Hidden(i)) return false;
        int p = 0;
        if (i < Fixed) {
            for (int k = 0; k < i; ++k) p += Step(k);
        } else {
            if (i < First) return false;
            p = FixedBoundary();
            for (int k = First; k < i; ++k) p += Step(k);
        }
        Pos = p;
        return true;
    }

    // The last scrolled cell wholly in view, or First - 1.
    int LastFullVisible() const {
        int p = FixedBoundary();
        int last = First - 1;
        for (int i = First; i < Count; ++i) {
            if (Hidden(i)) continue;
            if (p + Extent(i) > Client) break;
            last = i;
            p += Step(i);
        }
        return last;
    }

    // The smallest First that shows cell Last wholly (or starts at it when it
    // is larger than the room there is).
    int FirstForLast(int Last) const {
        if (Last < Fixed) return Fixed;
        int room = Client - FixedBoundary();
        int used = Extent(Last);
        int first = Last;
        for (int i = Last - 1; i >= Fixed; --i) {
            if (used + Step(i) > room) break;
            used += Step(i);
            first = i;
        }
        return first;
    }

    // How far First can go: the scroll position that shows the last cell.
    int MaxFirst() const { return Count > Fixed ? std::max(Fixed, FirstForLast(Count - 1)) : Fixed; }

    // The cell at a client position (its grid line counts to it), or -1.
    int Hit(int Pos) const {
        if (Pos < 0 || Pos >= Client) return -1;
        int p = 0;
        for (int i = 0; i < Fixed; ++i) {
            if (Pos < p + Step(i)) return i;
            p += Step(i);
        }
        for (int i = First; i < Count && p < Client; ++i) {
            if (Pos < p + Step(i)) return i;
            p += Step(i);
        }
        return -1;
    }

    // The end of the last line in view, at most Client.
    int GridExtent() const {
        int p = FixedBoundary();
        for (int i = First; i < Count && p < Client; ++i) p += Step(i);
        return std::min(p, Client);
    }
};

}  // namespace yorde_grid
