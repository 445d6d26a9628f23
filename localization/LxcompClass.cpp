// Published properties of the translation components and their registration.
#include "localization/Lxcomp.h"

#include "localization/LxExtended.h"
#include "localization/LxFormStorage.h"
#include "localization/LxLabel.h"
#include "localization/LxVclSeam.h"

namespace {
// The lists and settings that TlxLang and TlxLangLinked publish, in stream
// order; the linked class has no dialog captions, locales or NeedAllDlgs,
// and a container.
template <class T>
void describeLangProperties(TClassBuilder<T>& c, bool linked) {
    c.Property("Captions", &T::Captions, &T::SetCaptions).Stored(false);
    c.Property("Hints", &T::Hints, &T::SetHints).Stored(false);
    c.Property("DisplayLabels", &T::DisplayLabels, &T::SetLabels).Stored(false);
    c.Property("Strings", &T::Strings, &T::SetStrings).Stored(false);
    c.Property("Fonts", &T::Fonts, &T::SetFonts).Stored(false);
    c.Property("MultiLines", &T::MultiLines, &T::SetMultiLines).Stored(false);
    if (!linked) c.Property("DlgsCaptions", &T::DlgsCaptions, &T::SetDlgsCaptions).Stored(false);
    c.Property("OtherStrings", &T::OtherStrings, &T::SetOthers).Stored(false);
    if (!linked) c.Property("Locales", &T::Locales, &T::SetSystem).Stored(false);
    c.Property("CharSets", &T::CharSets, &T::SetCharSets).Stored(false);
    c.Property("Collections", &T::Collections, &T::SetCollections).Stored(false);
    c.Property("NumOfLanguages", &T::NumOfLanguages, &T::SetNumLang).Default(1);
    c.Property("ActiveLanguage", &T::ActiveLanguage, &T::SetActLang).Default(1);
    c.Property("ChangeLocales", &T::ChangeLocales, &T::SetChangeLocales);
    c.Property("LangDispatcher", &T::LangDispatcher, &T::SetLangDispatcher);
    c.template Event<TObject*>("OnChangeLanguage", static_cast<TNotifyEvent T::*>(&TlxCustomLang::OnChangeLanguage));
    c.Property("LangDelim", &T::LangDelim, &T::SetLangDelim).Default(9);
    c.Property("DoNotTranslate", &T::DoNotTranslate, &T::SetDoNotList);
    c.Property("LangNames", &T::LangNames, &T::SetLangNames);
    c.Property("Language", &T::Language, &T::SetLanguage);
    c.Property("TranslateType", &T::TranslateType, &T::SetTranslateType).Default(ttNoChange);
    c.Property("Options", &T::Options, &T::SetOptions).Default(0);
    if (!linked) c.Property("NeedAllDlgs", &T::NeedAllDlgs, &T::SetNeedAllDlgs);
    if constexpr (std::is_same_v<T, TlxLangLinked>)
        c.Property("CommonContainer", &TlxLangLinked::CommonContainer, &TlxLangLinked::SetCommonContainer);
    c.Property("ChangingCursor", &T::ChangingCursor, &T::SetChangingCursor).Default(lxCursorNoChange);
    c.Property("ExcludedProperties", &T::ExcludedProperties, &T::SetExProps);
    c.Property("DoRaiseExceptions", &T::DoRaiseExceptions, &T::SetDoRaiseExceptions);
    c.Property("ExtendedTranslations", &T::ExtendedTranslations, &T::SetExtendedTranslations);
}
}  // namespace

YORDE_IMPLEMENT_CLASS(TlxCustomLang, [](TClassBuilder<TlxCustomLang>& c) {
    c.Property("version", &TlxCustomLang::Version, &TlxCustomLang::SetVersion);
    c.Property("IsInheritedOwner", &TlxCustomLang::IsInheritedOwner, &TlxCustomLang::SetIsInheritedOwner);
    c.Property("StringsTypes", &TlxCustomLang::StringsTypes, &TlxCustomLang::SetStringsTypes);
    c.Property("SmartExcludeProps", &TlxCustomLang::SmartExcludeProps, &TlxCustomLang::SetSmartProps);
    c.Property("HandleResourceStrings", &TlxCustomLang::HandleResourceStrings,
               &TlxCustomLang::SetHandleResourceStrings);
    c.Property("ResourceLanguageIndex", &TlxCustomLang::ResourceLanguageIndex, &TlxCustomLang::SetResourceLanguageIndex)
        .Default(1);
    c.Property("UseInheritedData", &TlxCustomLang::UseInheritedData, &TlxCustomLang::SetUseInheritedData);
})

YORDE_IMPLEMENT_CLASS(TlxLang, [](TClassBuilder<TlxLang>& c) { describeLangProperties(c, false); })

YORDE_IMPLEMENT_CLASS(TlxLangLinked, [](TClassBuilder<TlxLangLinked>& c) { describeLangProperties(c, true); })

YORDE_IMPLEMENT_CLASS(TlxLangDispatcher, [](TClassBuilder<TlxLangDispatcher>& c) {
    c.Property("ActiveLanguage", &TlxLangDispatcher::ActiveLanguage, &TlxLangDispatcher::SetActiveLanguage).Default(1);
    c.Property("NumOfLanguages", &TlxLangDispatcher::NumOfLanguages, &TlxLangDispatcher::SetNumOfLanguages).Default(1);
    c.Property("LangNames", &TlxLangDispatcher::LangNames, &TlxLangDispatcher::SetLangNames);
    c.Property("Language", &TlxLangDispatcher::Language, &TlxLangDispatcher::SetLanguage);
    c.Property("FileName", &TlxLangDispatcher::FileName, &TlxLangDispatcher::SetFileName);
    c.Event("OnLinkToDispatcher", &TlxLangDispatcher::OnLinkToDispatcher);
    c.Property("TestMode", &TlxLangDispatcher::TestMode, &TlxLangDispatcher::SetTestMode);
})

void RegisterLocalizationClasses() {
    RegisterClasses({TlxCustomLang::StaticClass(), TlxLang::StaticClass(), TlxLangLinked::StaticClass(),
                     TlxLangDispatcher::StaticClass(), TlxFormStorage::StaticClass(), TlxLabel::StaticClass()});
    lxUseVclScreenCursor();
}
