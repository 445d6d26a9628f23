#pragma once
// The exchange's JSON replies: the SD-card state and one page of the record
// list. A reply that is not JSON reads as false; a field that is absent or of
// another type reads as its default.
#include "rtl/AnsiString.h"

#include <vector>

struct TSdReply {
    int State = -1;     // 0 card installed; -1 when not told
    int CardSize = -1;  // MB
    int RecSize = 0;    // MB
};

bool ParseSdReply(const AnsiString& Body, TSdReply& Out);

struct TRecordListEntry {
    AnsiString Name;  // "n": the device's file name; " " when absent
    AnsiString Size;  // "s" in the general number format; "0" when absent
};

struct TRecordListPage {
    std::vector<TRecordListEntry> Files;
    AnsiString Id = "0";  // the next page's id; "0" after the last page
};

bool ParseRecordListReply(const AnsiString& Body, TRecordListPage& Out);

// The idPart of the next page's request.
inline AnsiString NextIdPart(const TRecordListPage& Page) { return "&id=" + Page.Id; }
// The page loop ends once the next idPart is "&id=0".
inline bool IsLastIdPart(const AnsiString& IdPart) { return IdPart == "&id=0"; }

// A number in the general format: integral values without a decimal point,
// others with up to 15 significant digits.
AnsiString FormatGeneral(double Value);
