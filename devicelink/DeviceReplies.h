#pragma once
// The exchange's JSON replies: the SD-card state and one page of the record
// list. A reply that is not JSON is told apart from one whose structure is
// wrong (a root, "sd", "recordlist" or "files" of another type, an "id" or a
// "state" that is no number): the run ignores the first and fails on the
// second. An absent field reads as its default.
#include "rtl/AnsiString.h"

#include <vector>

enum class TReplyParse { Ok, NotJson, WrongStructure };

struct TSdReply {
    int State = -1;     // 0 card installed; -1 when not told
    int CardSize = -1;  // MB
    int RecSize = 0;    // MB
};

// Out changes only when the result is Ok.
TReplyParse ParseSdReply(const AnsiString& Body, TSdReply& Out);

struct TRecordListEntry {
    AnsiString Name;  // "n": the device's file name; " " when absent
    AnsiString Size;  // "s" in the general number format; "0" when absent
};

struct TRecordListPage {
    std::vector<TRecordListEntry> Files;
    AnsiString Id = "0";  // the next page's id; "0" after the last page
    // Elements left out, as their JSON text: no object, an "n" that is no
    // text, an "s" that is no number from 0 to 2^53.
    std::vector<AnsiString> Skipped;
};

TReplyParse ParseRecordListReply(const AnsiString& Body, TRecordListPage& Out);

// The idPart of the next page's request.
inline AnsiString NextIdPart(const TRecordListPage& Page) { return "&id=" + Page.Id; }
// The page loop ends once the next idPart is "&id=0".
inline bool IsLastIdPart(const AnsiString& IdPart) { return IdPart == "&id=0"; }

// A number in the general format: integral values without a decimal point,
// others with up to 15 significant digits.
AnsiString FormatGeneral(double Value);
