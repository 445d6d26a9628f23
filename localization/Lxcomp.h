#pragma once
// The translation components, the dispatcher and their registration.
#include "localization/LxcompDispatcher.h"
#include "localization/LxcompLang.h"
#include "localization/Lxlnglnk.h"

// Registers TlxCustomLang, TlxLang, TlxLangLinked and TlxLangDispatcher so
// that layouts can create them by name, and lets language switches use the
// controls layer's screen cursor. Safe to call more than once.
void RegisterLocalizationClasses();
