#pragma once
// The program's language as the dialogs see it: the active language of the
// dispatcher in the data module "DMLang", numbered as in rtl/Languages.h.
class TlxLangDispatcher;

// The dispatcher "DMLang.lxLangDispatcher1", found by name as the layouts'
// references find it; null while there is no such data module.
TlxLangDispatcher* ProgramLangDispatcher();
// Its active language; 1 without a dispatcher or outside the table, so that a
// picture index made from it stays inside the image lists.
int ProgramLanguage();
