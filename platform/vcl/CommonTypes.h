#pragma once
// Enumerations of the memo, list, combo, track bar, progress bar and
// date-time picker controls, shared by the components and their peers.
#include "classes/Classes.h"
#include "classes/Strings.h"
#include "vcl/ScrollBars.h"  // TScrollStyle

enum TComboBoxStyle : int { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
YORDE_ENUM_TYPEINFO(TComboBoxStyle, "csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed",
                    "csOwnerDrawVariable")

enum TTrackBarOrientation : int { trHorizontal, trVertical };
YORDE_ENUM_TYPEINFO(TTrackBarOrientation, "trHorizontal", "trVertical")

enum TTickMark : int { tmBottomRight, tmTopLeft, tmBoth };
YORDE_ENUM_TYPEINFO(TTickMark, "tmBottomRight", "tmTopLeft", "tmBoth")

enum TTickStyle : int { tsNone, tsAuto, tsManual };
YORDE_ENUM_TYPEINFO(TTickStyle, "tsNone", "tsAuto", "tsManual")

enum TProgressBarOrientation : int { pbHorizontal, pbVertical };
YORDE_ENUM_TYPEINFO(TProgressBarOrientation, "pbHorizontal", "pbVertical")

enum TDateTimeKind : int { dtkDate, dtkTime };
YORDE_ENUM_TYPEINFO(TDateTimeKind, "dtkDate", "dtkTime")

enum TDTDateMode : int { dmComboBox, dmUpDown };
YORDE_ENUM_TYPEINFO(TDTDateMode, "dmComboBox", "dmUpDown")

enum TDTDateFormat : int { dfShort, dfLong };
YORDE_ENUM_TYPEINFO(TDTDateFormat, "dfShort", "dfLong")

enum TDTCalAlignment : int { dtaLeft, dtaRight };
YORDE_ENUM_TYPEINFO(TDTCalAlignment, "dtaLeft", "dtaRight")
