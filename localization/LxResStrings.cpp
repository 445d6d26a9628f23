// Translation of the library's resource strings through the first loaded
// component that asks for it.
#include "localization/LxStringsCollection.h"
#include "localization/LxcompLang.h"
#include "rtl/ResStrings.h"

#include <mutex>
#include <shared_mutex>

namespace {
// Loads on any thread hold it shared while they use the translator; the
// translator's destruction takes it alone, so it never goes mid-search.
std::shared_mutex translatorLock;
TlxCustomLang* translator = nullptr;

AnsiString loadTranslatedResString(const TResStringRec* ResStringRec) {
    const AnsiString text = LoadStoredResString(ResStringRec);
    std::shared_lock<std::shared_mutex> lock(translatorLock);
    if (!translator) return text;
    const int active = translator->ActiveLanguage();
    const AnsiString translated = translator->WithResStringsCollection([&](const TlxStringsCollection& c) {
        // The collection is sorted by the texts of the resource language.
        const int resourceLanguage = c.SortLanguage();
        return resourceLanguage == active || resourceLanguage < 1 ? text : c.GetTranslationByLang(text, active);
    });
    return translated.empty() ? text : translated;
}
}  // namespace

TlxCustomLang* TlxCustomLang::ResourceTranslator() {
    std::shared_lock<std::shared_mutex> lock(translatorLock);
    return translator;
}

bool TlxCustomLang::claimResourceTranslator() {
    {
        std::unique_lock<std::shared_mutex> lock(translatorLock);
        if (translator) return false;
        translator = this;
    }
    // Installed once and kept: without a translator it hands back the stored texts.
    InstallResStringLoader(&loadTranslatedResString);
    return true;
}

void TlxCustomLang::releaseResourceTranslator() {
    std::unique_lock<std::shared_mutex> lock(translatorLock);
    if (translator == this) translator = nullptr;
}
