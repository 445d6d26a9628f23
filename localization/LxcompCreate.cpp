// Construction and destruction of the translation component, the default
// dialog and locale entries, and the list setters.
#include "localization/LxExtended.h"
#include "localization/LxStringsCollection.h"
#include "localization/LxVclSeam.h"
#include "localization/LxcompDialogWords.h"
#include "localization/LxcompDispatcher.h"
#include "localization/LxcompLang.h"
#include "localization/MemIni.h"
#include "rtl/FormatSettings.h"
#include "rtl/ResStrings.h"

namespace {
thread_local int temporaryCopyDepth = 0;

AnsiString joinNames(const AnsiString* names, size_t count) {
    AnsiString out;
    for (size_t i = 0; i < count; ++i) {
        if (i) out += ',';
        out += names[i];
    }
    return out;
}
}  // namespace

TlxTemporaryCopyScope::TlxTemporaryCopyScope() { ++temporaryCopyDepth; }
TlxTemporaryCopyScope::~TlxTemporaryCopyScope() { --temporaryCopyDepth; }
bool TlxTemporaryCopyScope::Active() { return temporaryCopyDepth > 0; }

// Runs before the base constructor would insert this component into the owner.
TComponent* TlxCustomLang::checkOnePerOwner(TComponent* AOwner) {
    if (AOwner)
        for (int i = 0; i < AOwner->ComponentCount(); ++i)
            if (dynamic_cast<TlxCustomLang*>(AOwner->Components(i)))
                throw Exception("Only one TlxCustomLang component per Form/DataModule allowed!");
    return AOwner;
}

TlxCustomLang::TlxCustomLang(TComponent* AOwner) : TComponent(checkOnePerOwner(AOwner)) {
    temporaryCopy_ = TlxTemporaryCopyScope::Active();
    version_ = "5.2.5";
    for (auto& list : lists_) list = std::make_unique<TStringList>();
    doNotTranslate_ = std::make_unique<TStringList>();
    langNames_ = std::make_unique<TStringList>();
    langNames_->Add("Language N1");
    language_ = langNames_->Strings(0);
    FillDialogs();
    captureLocale();
    fillLocales();
    excludedProperties_ = std::make_unique<TStringList>();
    stringsTypes_ = std::make_unique<TStringList>();
    stringsTypes_->Add("TIB_STRINGLIST");
    stringsTypes_->Add("TSTRINGLIST");
    smartExcludeProps_ = std::make_unique<TStringList>();
    fixedLanguages_ = std::make_unique<TStringList>();
    stringsColl_ = std::make_unique<TlxStringsCollection>(TlxStringsCollectionItem::StaticClass(), this);
    resStringsColl_ = std::make_unique<TlxStringsCollection>(TlxStringsCollectionItem::StaticClass(), this);
    extended_ = std::make_unique<TlxExtendedItems>(this);
    ownerHasNoFont_ = !(AOwner && lxClassProp(AOwner, "Font", "TFont"));
}

TlxCustomLang::~TlxCustomLang() {
    releaseResourceTranslator();
    if (langDispatcher_) {
        langDispatcher_->RemovePossibleReference(this);
        langDispatcher_->RemoveFreeNotification(this);
        setDispatcherPointer(nullptr);
    }
}

bool TlxCustomLang::IsLoading() const {
    if (ComponentState().Contains(csLoading)) return true;
    return Owner() && Owner()->ComponentState().Contains(csLoading);
}

void TlxCustomLang::FillDialogs() {
    TStrings* dialogs = DlgsCaptions();
    for (int i = 0; i < BasicDialogCount; ++i)
        dialogs->Add(DialogKey(DialogWords[size_t(i)]) + langDelim_ + LoadResString(BasicDialogTexts[size_t(i)]) +
                     langDelim_);
}

void TlxCustomLang::FillNewDialogs() {
    TStrings* dialogs = DlgsCaptions();
    if (needAllDlgs_ && dialogs->Count() == BasicDialogCount) {
        for (int i = BasicDialogCount; i < AllDialogCount; ++i)
            dialogs->Add(DialogKey(DialogWords[size_t(i)]) + langDelim_ + DialogWords[size_t(i)] + langDelim_);
    } else if (!needAllDlgs_ && dialogs->Count() == AllDialogCount) {
        for (int i = dialogs->Count() - 1; i >= 0; --i)
            if (!IsBasicDialogKey(ExtractTranslation(dialogs->Strings(i), langDelim_, 0))) dialogs->Delete(i);
    }
}

void TlxCustomLang::captureLocale() {
    const TFormatSettings& fs = FormatSettings();
    auto chr = [](char c) { return c ? AnsiString(1, c) : AnsiString(); };
    systemLocale_ = {
        fs.CurrencyString,
        chr(fs.ThousandSeparator),
        chr(fs.DecimalSeparator),
        chr(fs.DateSeparator),
        fs.ShortDateFormat,
        fs.LongDateFormat,
        chr(fs.TimeSeparator),
        fs.TimeAMString,
        fs.TimePMString,
        fs.ShortTimeFormat,
        fs.LongTimeFormat,
        joinNames(fs.ShortMonthNames.data(), fs.ShortMonthNames.size()),
        joinNames(fs.LongMonthNames.data(), fs.LongMonthNames.size()),
        joinNames(fs.ShortDayNames.data(), fs.ShortDayNames.size()),
        joinNames(fs.LongDayNames.data(), fs.LongDayNames.size()),
    };
}

void TlxCustomLang::fillLocales() {
    TStrings* locales = Locales();
    for (int i = 0; i < LocaleKeyCount; ++i)
        locales->Add(AnsiString(LocaleKeys[size_t(i)]) + langDelim_ + systemLocale_[size_t(i)] + langDelim_);
}

TStrings* TlxCustomLang::List(TStringsType Type) const {
    return Type >= 0 && Type < ListTypeCount ? lists_[size_t(Type)].get() : nullptr;
}

void TlxCustomLang::setList(TStringsType Type, TStrings* Value) {
    TStrings* own = List(Type);
    if (Value == own) return;
    own->Assign(Value);
    // The look-ups follow a new Strings list at once.
    if (Type == stStrings) UpdateStrCollections();
    // Only this list is applied now; any later switch or load applies them all.
    applySelector_ = int(Type);
    struct Reset {
        int& Selector;
        ~Reset() { Selector = -1; }
    } reset{applySelector_};
    ChangeLanguage();
}

void TlxCustomLang::SetDlgsCaptions(TStrings* Value) {
    if (Value != DlgsCaptions()) DlgsCaptions()->Assign(Value);
}

void TlxCustomLang::SetExtendedTranslations(TlxExtendedItems* Value) {
    if (Value && Value != extended_.get()) extended_->Assign(Value);
}

void TlxCustomLang::SetFixedLanguages(TStrings* Value) {
    if (Value != fixedLanguages_.get()) fixedLanguages_->Assign(Value);
}
