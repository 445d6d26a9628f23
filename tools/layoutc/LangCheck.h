#pragma once
// Checks a translation table against its layout and the translation
// component's class, and makes the component's lists from it.
#include "Diagnostics.h"
#include "LangTable.h"
#include "LayoutCheck.h"

#include "localization/LxTranslationData.h"

// Entries are "key 0x01 <text> 0x01" with a text for each language; a list for
// every type the translation component's class publishes, in table order.
// Faults of the table as a whole are reported against TablePath.
TlxTranslationLists BuildTranslationLists(const std::vector<TLangEntry>& Entries, const TLayoutModel& Model,
                                          const std::string& TablePath, TDiagnostics& Diag);

constexpr char LangDelimiter = '\x01';
