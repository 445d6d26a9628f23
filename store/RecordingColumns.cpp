#include "store/RecordingColumns.h"

#include <algorithm>

namespace {

using C = TRecordingColumn;

// The plain layout, then the address-book one with a description after each number.
constexpr TRecordingColumn kPlain[] = {C::Date, C::Caller, C::Called, C::Duration, C::FileName};
constexpr TRecordingColumn kBook[] = {
    C::Date, C::Caller, C::CallerDescription, C::Called, C::CalledDescription, C::Duration, C::FileName,
};

constexpr TRecordingLayout kPlainLayout(false, kPlain);
constexpr TRecordingLayout kBookLayout(true, kBook);

}  // namespace

int TRecordingLayout::IndexOf(TRecordingColumn Column) const {
    const auto it = std::find(columns_.begin(), columns_.end(), Column);
    return it == columns_.end() ? -1 : int(it - columns_.begin());
}

const TRecordingLayout& RecordingLayout(bool AddressBook) { return AddressBook ? kBookLayout : kPlainLayout; }
