#include "vcl/GridRows.h"

#include <algorithm>
#include <cstring>

namespace {

using Byte = unsigned char;

// Lengths (and the count of texts) as 7-bit groups, low group first.
size_t varintSize(size_t Value) {
    size_t n = 1;
    for (; Value >= 0x80; Value >>= 7) ++n;
    return n;
}

Byte* putVarint(Byte* Out, size_t Value) {
    for (; Value >= 0x80; Value >>= 7) *Out++ = Byte(Value | 0x80);
    *Out++ = Byte(Value);
    return Out;
}

const Byte* getVarint(const Byte* In, size_t& Value) {
    Value = 0;
    for (int shift = 0;; shift += 7) {
        const Byte b = *In++;
        Value |= size_t(b & 0x7F) << shift;
        if (!(b & 0x80)) return In;
    }
}

// Walks the texts of one packed row.
class TRowReader {
public:
    explicit TRowReader(const Byte* Block) : p_(Block) {
        if (p_) p_ = getVarint(p_, left_);
    }
    bool Next(std::string_view& Text) {
        if (left_ == 0) return false;
        --left_;
        size_t length;
        p_ = getVarint(p_, length);
        Text = std::string_view(reinterpret_cast<const char*>(p_), length);
        p_ += length;
        return true;
    }

private:
    const Byte* p_;
    size_t left_ = 0;
};

// The texts of a packed row, ACols of them (the missing ones empty).
std::vector<std::string_view> unpack(const Byte* Block, int ACols) {
    std::vector<std::string_view> texts(size_t(std::max(0, ACols)));
    TRowReader reader(Block);
    for (std::string_view& text : texts)
        if (!reader.Next(text)) break;
    return texts;
}

}  // namespace

TGridRows::TGridRows(int ACols, int ARows) : rows_(size_t(std::max(0, ARows))), cols_(std::max(0, ACols)) {}

TGridRows::Block TGridRows::pack(const std::string_view* Texts, int Count) {
    // Trailing empty texts are left out: a row of nothing takes no block.
    while (Count > 0 && Texts[Count - 1].empty()) --Count;
    if (Count <= 0) return nullptr;
    size_t size = varintSize(size_t(Count));
    for (int i = 0; i < Count; ++i) size += varintSize(Texts[i].size()) + Texts[i].size();
    Block block(new Byte[size]);
    Byte* out = putVarint(block.get(), size_t(Count));
    for (int i = 0; i < Count; ++i) {
        out = putVarint(out, Texts[i].size());
        if (!Texts[i].empty()) std::memcpy(out, Texts[i].data(), Texts[i].size());
        out += Texts[i].size();
    }
    return block;
}

std::string_view TGridRows::Cell(int ACol, int ARow) const {
    TRowReader reader(rows_[size_t(ARow)].get());
    std::string_view text;
    for (int c = 0; c <= ACol; ++c)
        if (!reader.Next(text)) return {};
    return text;
}

void TGridRows::SetCell(int ACol, int ARow, std::string_view Text) {
    Block& row = rows_[size_t(ARow)];
    // A grid rarely has more columns than this: no list to allocate.
    constexpr int kOnStack = 16;
    std::string_view onStack[kOnStack];
    std::vector<std::string_view> onHeap;
    std::string_view* texts = onStack;
    if (cols_ > kOnStack) {
        onHeap.resize(size_t(cols_));
        texts = onHeap.data();
    }
    TRowReader reader(row.get());
    for (int c = 0; c < cols_ && reader.Next(texts[c]); ++c) {
    }
    std::string_view& old = texts[ACol];
    if (old == Text) return;
    if (!old.empty() && old.size() == Text.size()) {
        // The same length: written over in place (Text may lie in this row).
        std::memmove(const_cast<char*>(old.data()), Text.data(), Text.size());
        return;
    }
    old = Text;
    // Text may lie inside the old block: that goes once the new one is made.
    Block packed = pack(texts, cols_);
    row.swap(packed);
}

void TGridRows::AddRow(const std::string_view* Texts, int Count) {
    rows_.push_back(pack(Texts, std::min(Count, cols_)));
}

int TGridRows::FindRow(int ACol, std::string_view Text, int FromRow) const {
    for (int r = std::max(0, FromRow); r < RowCount(); ++r)
        if (Cell(ACol, r) == Text) return r;
    return -1;
}

void TGridRows::DeleteRow(int ARow) {
    if (ARow >= 0 && ARow < RowCount()) rows_.erase(rows_.begin() + ARow);
}

void TGridRows::SetRowCount(int ARows) { rows_.resize(size_t(std::max(0, ARows))); }

void TGridRows::SetColCount(int ACols) {
    ACols = std::max(0, ACols);
    if (ACols < cols_) {
        // Only rows with texts beyond the new last column are packed again.
        for (Block& row : rows_) {
            size_t count = 0;
            if (row) getVarint(row.get(), count);
            if (count <= size_t(ACols)) continue;
            std::vector<std::string_view> texts = unpack(row.get(), ACols);
            Block packed = pack(texts.data(), ACols);
            row.swap(packed);
        }
    }
    cols_ = ACols;
}

void TGridRows::Swap(TGridRows& Other) noexcept {
    rows_.swap(Other.rows_);
    std::swap(cols_, Other.cols_);
}
