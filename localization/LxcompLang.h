#pragma once
// The translation component: one per form, frame or data module. It keeps
// every translatable text of its owner's components in lists of entries
// (key, then one text per language, each after the language delimiter,
// then a closing delimiter), applies the active language to the owner's
// components through RTTI, and answers look-ups of messages by identifier.
//
// Threads: GetTextOrDefault, GetText and GetTextbyInt may be called from
// any thread. The identifier collection they search is guarded by a
// shared mutex (look-ups share it; rebuilds and edits take it alone), the
// active language is atomic, and the dispatcher pointer only changes under
// the exclusive lock. Everything else belongs to the GUI thread.
#include "classes/Strings.h"
#include "localization/LxTypes.h"
#include "rtl/Format.h"

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <shared_mutex>
#include <vector>

class TlxLangDispatcher;
class TlxCustomLang;
class TlxStringsCollection;
class TlxExtendedItems;
class TLXBFileManager;
class TStream;
class TMessageForm;
class TCanvas;
struct TSize;
class TMemIniFile;

using TLinkToDispatcherEvent = TEvent<TObject*, TlxCustomLang*>;
YORDE_EVENT_TYPEINFO(TLinkToDispatcherEvent)

// While one lives on this thread, translation components created here are
// temporary copies: they only carry data (no dispatcher, no applying, no
// after-loading steps).
class TlxTemporaryCopyScope {
public:
    TlxTemporaryCopyScope();
    ~TlxTemporaryCopyScope();
    TlxTemporaryCopyScope(const TlxTemporaryCopyScope&) = delete;
    TlxTemporaryCopyScope& operator=(const TlxTemporaryCopyScope&) = delete;
    static bool Active();
};

class TlxCustomLang : public TComponent {
    YORDE_CLASS(TlxCustomLang, TComponent)
public:
    // Exception "Only one TlxCustomLang component per Form/DataModule allowed!"
    // when the owner already owns a translation component.
    explicit TlxCustomLang(TComponent* AOwner);
    ~TlxCustomLang() override;

    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // The binary property "TranslationData".
    void DefineProperties(TFiler& Filer) override;

    // Design-time removal of a component's entries from one list.
    virtual void MakeNotification(TStrings* List, TComponent* AComponent, TOperation Operation, TStringsType StrType);
    virtual bool IsHandledTStrings(const AnsiString& AClassName) const;
    virtual void ReplaceStringValue(TStrings* List, const AnsiString& NewText, int Lang, const AnsiString& Key);
    // The published list named after the type ("stCaptions" -> "Captions"), or null.
    virtual TStrings* GetPropListByType(TStringsType Type) const;
    // Collects the current property values of the owner and its components
    // into the lists as texts of the active language (design time).
    virtual void BuildList();
    // Applies the active language to the owner's components.
    virtual void ChangeLanguage();
    // ---- INI-style translation files on streams ----
    // Sections per list type, keys "TOwnerClass.EntryKey", the languages of a
    // value separated by the file delimiter (Delimiter; "~!@#" when a file
    // names none). Writers read the whole stream, change their own keys and
    // write it all again; ELanguageError, with nothing written, for a
    // delimiter that cannot separate the texts (empty, line breaks, or found
    // inside a text). -1 when the component has no list of the type; loaders
    // swallow any error of a malformed file and return -1.
    virtual int SaveToStream(TStringsType Type, TStream* Stream, const AnsiString& Delimiter);
    virtual int LoadFromStream(TStringsType Type, TStream* Stream, bool ClearFirst);
    virtual void SaveAllToStream(TStream* Stream, const AnsiString& Delimiter);
    virtual void LoadAllFromStream(TStream* Stream, bool ClearFirst);
    // The file's entries replace those with the same key; the others stay.
    virtual bool MergeFromStream(TStringsType Type, TStream* Stream);
    virtual bool MergeAllFromStream(TStream* Stream);
    virtual bool MergeAllFromStreamDNC(TStream* Stream);
    // ---- The same by file name (written files are replaced whole) ----
    // ".LXB" names are binary files where a merge reads one.
    virtual int LoadFromFile(TStringsType Type, const AnsiString& AFileName, bool ClearFirst);
    virtual int SaveToFile(TStringsType Type, const AnsiString& AFileName, const AnsiString& Delimiter);
    virtual void LoadAllFromFile(const AnsiString& AFileName, bool ClearFirst);
    virtual void SaveAllToFile(const AnsiString& AFileName, const AnsiString& Delimiter);
    virtual int LoadStringsFromFile(const AnsiString& AFileName, bool ClearFirst);
    virtual int SaveStringsToFile(const AnsiString& AFileName, const AnsiString& Delimiter);
    virtual bool MergeFromFile(TStringsType Type, const AnsiString& AFileName);
    virtual bool MergeAllFromFile(const AnsiString& AFileName);
    // Without applying the language afterwards (DNC: do not change).
    virtual void LoadAllFromFileDNC(const AnsiString& AFileName, bool ClearFirst);
    virtual bool MergeAllFromFileDNC(const AnsiString& AFileName);
    // One language of a file, by its name there; a language the component
    // lacks is added as the last one.
    virtual void LoadLanguageByProp(TStringsType Type, const AnsiString& AFileName, const AnsiString& LangName);
    virtual void LoadLanguageByExt(const AnsiString& AFileName, const AnsiString& LangName);
    virtual void LoadLanguage(const AnsiString& AFileName, const AnsiString& LangName);
    // The "[Extended]" section of such files.
    void LoadExtendedFromStream(TStream* Stream, bool ClearFirst);
    void SaveExtendedToStream(TStream* Stream, const AnsiString& Delimiter);
    void LoadExtendedFromFile(const AnsiString& AFileName, bool ClearFirst);
    void SaveExtendedToFile(const AnsiString& AFileName, const AnsiString& Delimiter);

    // ---- LXB binary translation files ----
    // This owner's entry replaced or added; the other forms' entries kept.
    void SaveAllToBinaryFile(const AnsiString& AFileName);
    // This owner's entry, then the language applied (only with an owner).
    virtual void LoadAllFromBinaryFile(const AnsiString& AFileName);
    void LoadAllFromBinaryStream(TStream* Stream);
    // One list of this owner's entry (no language applied).
    void LoadPropFromBinaryFile(TStringsType Type, const AnsiString& AFileName);

    virtual void ComponentRenamed(const AnsiString& OldName, const AnsiString& NewName);
    // The list of the type whose name without "st" is Name (case-insensitive).
    TStrings* GetPropListByName(const AnsiString& AName) const;

    // ---- Translated message dialogs (GUI thread) ----
    // Captions and buttons come from DlgsCaptions in the active language
    // (language 1 where a text is empty). The caller owns the dialog.
    TMessageForm* CreateMessageDialog(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons);
    // Shown modally; the modal result of the button chosen.
    int MessageDlg(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);
    int MessageDlgPos(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx, int X, int Y);
    // X and Y below 0 leave the dialog centred.
    int MessageDlgPosHelp(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx, int X, int Y,
                          const AnsiString& HelpFileName);
    // The application's title as caption and one OK button.
    void ShowMessage(const AnsiString& Msg);
    void ShowMessageFmt(const AnsiString& Fmt, std::initializer_list<TVarRec> Args);
    void ShowMessagePos(const AnsiString& Msg, int X, int Y);
    // True when confirmed; Value then holds the edited text.
    bool InputQuery(const AnsiString& ACaption, const AnsiString& Prompt, AnsiString& Value);
    // Default when cancelled.
    AnsiString InputBox(const AnsiString& ACaption, const AnsiString& Prompt, const AnsiString& Default);
    // The average character size in the canvas's font: the extent of the
    // 52 letters A-Z and a-z, its width divided by 52, and its height.
    static TSize LxGetAveCharSize(TCanvas* Canvas);

    // ---- Look-ups (any thread) ----
    AnsiString GetTextOrDefault(const AnsiString& ID) const;
    AnsiString GetText(const AnsiString& ID) const;
    AnsiString GetTextbyInt(int ID) const;
    void GetTextFrom(TStrings* List, const AnsiString& ID, AnsiString& Result, bool OrDefault) const;
    void GetTextFromByIndex(TStrings* List, int Index, AnsiString& Result, bool OrDefault) const;

    // ---- Language switch ----
    void SetActLang(int Value);
    void SetNumLang(int Value);
    void ApplyTranslationList(TStrings* List, TStringsType Type);
    // Field Lang of the first entry with that key (case-insensitive); empty when none.
    AnsiString GetStringValue(TStrings* List, const AnsiString& Key, int Lang) const;
    static bool ObjectHasProperty(const TObject* Object, const AnsiString& PropName, TTypeKinds Kinds,
                                  const AnsiString& TypeName = AnsiString());
    static AnsiString GetObjectStrProperty(const TObject* Object, const AnsiString& PropName);
    static void SetObjectStrProperty(TObject* Object, const AnsiString& PropName, const AnsiString& Value);
    void ExcludeProperties();
    // ---- Collecting ----
    // Name and character set of the object's Font; empty and 0 without one.
    static AnsiString GetObjectFontName(const TObject* Object);
    static int GetObjectFontCharset(const TObject* Object);
    // Drops the entry of a property newly listed in SmartExcludeProps.
    void RemoveSmartExcl(TStrings* List, const AnsiString& ComponentName, TStringsType Type,
                         const AnsiString& PropName);
    // Drops entries whose component lacks the property they name.
    void CheckRmdProps();
    void DelOldNames(TStrings* List, TStringsType Type);
    bool NotHandledProperty(const AnsiString& ComponentName, const AnsiString& PropName) const;
    bool GetTranslateOwner() const;

    // ---- Extended translations (property paths) ----
    // "Label1.Caption", "TForm1.Caption" (the owner), "Grid1.Columns[1].Title":
    // the object holding the property the last segment names; null when a
    // component, property or collection item on the way does not exist.
    TObject* GetObjByPath(const AnsiString& Path) const;
    // The kind of that property (tkClass only for a string list); tkUnknown when absent.
    TTypeKind GetPropTypeByPath(const AnsiString& Path) const;
    // The property's value as text; empty when absent.
    AnsiString GetPropValueByPath(const AnsiString& Path) const;
    // Sets the property from text; anything that cannot be set is ignored.
    void SetPropValueByPath(const AnsiString& Path, const AnsiString& Value);
    // Writes each item's text of the active language into its property.
    void ChangeLangForExtended();
    // Takes the live values of the active language into the items.
    void UpdateExtended();

    // ---- Identifier collection ----
    void LoadStringsColl(TlxStringsCollection* Coll, int SortLanguage);
    void UpdateStrCollections();
    AnsiString BuildStringByOne(const AnsiString& Text, int Index) const;
    // Runs F with the collection under the shared lock.
    template <class F>
    auto WithStringsCollection(F f) const {
        std::shared_lock<std::shared_mutex> lock(collLock_);
        return f(static_cast<const TlxStringsCollection&>(*stringsColl_));
    }
    template <class F>
    auto WithResStringsCollection(F f) const {
        std::shared_lock<std::shared_mutex> lock(collLock_);
        return f(static_cast<const TlxStringsCollection&>(*resStringsColl_));
    }

    // ---- Editing of Strings and the lists ----
    bool AddString(const AnsiString& ID, const AnsiString* Values, int HighIndex);
    bool AddString(const AnsiString& ID, const std::vector<AnsiString>& Values);
    bool DeleteString(const AnsiString& ID);
    AnsiString GetStringID(int Index) const;  // EListError "List index is out of bonds!"
    int GetIDIndex(const AnsiString& ID) const;
    void NormalizeStrings();
    void ClearTranslations();
    void ChangeLangDelim(char Old, char New);
    static void ChangeDelimOnStrs(char Old, char New, TStrings* List);
    void ChangeDelimOnExtended(char Old, char New);
    void ReBuildDoNotList();
    void FillDialogs();
    void FillNewDialogs();

    // ---- Properties ----
    const AnsiString& Version() const { return version_; }
    void SetVersion(const AnsiString& Value);
    bool IsInheritedOwner() const { return isInheritedOwner_; }
    void SetIsInheritedOwner(bool Value) { isInheritedOwner_ = Value; }
    TStrings* StringsTypes() const { return stringsTypes_.get(); }
    void SetStringsTypes(TStrings* Value);
    TStrings* SmartExcludeProps() const { return smartExcludeProps_.get(); }
    void SetSmartProps(TStrings* Value);
    bool HandleResourceStrings() const { return handleResourceStrings_; }
    void SetHandleResourceStrings(bool Value) { handleResourceStrings_ = Value; }
    unsigned short ResourceLanguageIndex() const { return resourceLanguageIndex_; }
    void SetResourceLanguageIndex(unsigned short Value);
    bool UseInheritedData() const { return useInheritedData_; }
    void SetUseInheritedData(bool Value) { useInheritedData_ = Value; }

    TStrings* List(TStringsType Type) const;  // own list of the type (null for stListView_TreeView_Items)
    TStrings* Captions() const { return List(stCaptions); }
    TStrings* Hints() const { return List(stHints); }
    TStrings* DisplayLabels() const { return List(stDisplayLabels); }
    TStrings* Fonts() const { return List(stFonts); }
    TStrings* MultiLines() const { return List(stMultiLines); }
    TStrings* DlgsCaptions() const { return List(stDlgsCaptions); }
    TStrings* Strings() const { return List(stStrings); }
    TStrings* OtherStrings() const { return List(stOtherStrings); }
    TStrings* Locales() const { return List(stLocales); }
    TStrings* Collections() const { return List(stCollections); }
    TStrings* CharSets() const { return List(stCharSets); }
    void SetCaptions(TStrings* Value) { setList(stCaptions, Value); }
    void SetHints(TStrings* Value) { setList(stHints, Value); }
    void SetLabels(TStrings* Value) { setList(stDisplayLabels, Value); }
    void SetFonts(TStrings* Value) { setList(stFonts, Value); }
    void SetMultiLines(TStrings* Value) { setList(stMultiLines, Value); }
    void SetDlgsCaptions(TStrings* Value);
    void SetStrings(TStrings* Value) { setList(stStrings, Value); }
    void SetOthers(TStrings* Value) { setList(stOtherStrings, Value); }
    void SetSystem(TStrings* Value) { setList(stLocales, Value); }
    void SetCollections(TStrings* Value) { setList(stCollections, Value); }
    void SetCharSets(TStrings* Value) { setList(stCharSets, Value); }

    int NumOfLanguages() const { return numOfLanguages_; }
    int ActiveLanguage() const { return activeLanguage_.load(std::memory_order_acquire); }
    bool ChangeLocales() const { return changeLocales_; }
    void SetChangeLocales(bool Value) { changeLocales_ = Value; }
    TlxLangDispatcher* LangDispatcher() const { return langDispatcher_; }
    void SetLangDispatcher(TlxLangDispatcher* Value);
    TNotifyEvent OnChangeLanguage;
    unsigned char LangDelim() const { return static_cast<unsigned char>(langDelim_); }
    void SetLangDelim(unsigned char Value);
    char Delim() const { return langDelim_; }
    TStrings* DoNotTranslate() const { return doNotTranslate_.get(); }
    void SetDoNotList(TStrings* Value);
    TStrings* LangNames() const { return langNames_.get(); }
    void SetLangNames(TStrings* Value);
    const AnsiString& Language() const { return language_; }
    void SetLanguage(const AnsiString& Value);
    TTranslateType TranslateType() const { return translateType_; }
    void SetTranslateType(TTranslateType Value) { translateType_ = Value; }
    TlxLangOptions Options() const { return options_; }
    void SetOptions(TlxLangOptions Value);
    bool NeedAllDlgs() const { return needAllDlgs_; }
    void SetNeedAllDlgs(bool Value);
    TlxCursor ChangingCursor() const { return TlxCursor(changingCursor_); }
    void SetChangingCursor(TlxCursor Value) { changingCursor_ = int(Value); }
    TStrings* ExcludedProperties() const { return excludedProperties_.get(); }
    void SetExProps(TStrings* Value);
    bool DoRaiseExceptions() const { return doRaiseExceptions_; }
    void SetDoRaiseExceptions(bool Value) { doRaiseExceptions_ = Value; }
    TlxExtendedItems* ExtendedTranslations() const { return extended_.get(); }
    void SetExtendedTranslations(TlxExtendedItems* Value);
    TStrings* FixedLanguages() const { return fixedLanguages_.get(); }
    void SetFixedLanguages(TStrings* Value);

    // The test mode of the dispatcher this component is registered with.
    bool DispatcherTestMode() const;
    bool IsTemporaryCopy() const { return temporaryCopy_; }
    bool OwnerHasNoFont() const { return ownerHasNoFont_; }
    // -1: every list is applied; a type's ordinal: only that list.
    int ApplySelector() const { return applySelector_; }
    // Entries pruned because their component is gone (null until the first one).
    TStrings* ScratchList() const { return scratch_.get(); }

    // The component that translates resource strings, if any.
    static TlxCustomLang* ResourceTranslator();

    // Field assignments the dispatcher makes (no setter runs).
    void AssignLanguageField(const AnsiString& Value) { language_ = Value; }
    void AssignActiveLanguageField(int Value) { activeLanguage_.store(Value, std::memory_order_release); }

protected:
    // The owner (or this component) is being read from a layout.
    bool IsLoading() const;
    bool IsDesigning() const { return ComponentState().Contains(csDesigning); }
    // The Loaded steps of this class, for descendants that re-run them.
    void runLoadedSteps();

private:
    friend class TlxLangDispatcher;
    static TComponent* checkOnePerOwner(TComponent* AOwner);
    // This component becomes the resource-string translator unless one exists.
    bool claimResourceTranslator();
    // Waits for loads that are translating through this component.
    void releaseResourceTranslator();
    void setList(TStringsType Type, TStrings* Value);
    void captureLocale();
    void fillLocales();
    bool hasOldTabDelimiters() const;
    void setDispatcherPointer(TlxLangDispatcher* Value);
    // Loaded's conversion of old TAB-delimited data.
    void migrateTabDelimiters();

    // Translation files.
    friend class TLXBFileManager;
    // What an LXB entry brings: its lists, language names and extended
    // translations, converted to this component's delimiter.
    void takeEntry(TlxCustomLang& Read);
    void takeList(TlxCustomLang& Read, TStringsType Type);
    void adoptDelimiter(TlxCustomLang& Read) const;
    friend class TlxBatchScope;
    // DelOldNames, the identifier collections and the language, after one
    // list was loaded or merged (not while a whole-file operation runs).
    void followUp(TStringsType Type);
    // The list as a copy is merged with what Reload puts into the list.
    bool mergeList(TStringsType Type, const std::function<void()>& Reload);
    bool mergeAll(const std::function<bool(TStringsType)>& Merge);
    // Entry with NewText as its text of language Lang (1 or more).
    AnsiString entryWithText(const AnsiString& Entry, const AnsiString& NewText, int Lang) const;
    // N: the language of the file named LangName; M: the component's
    // language of that name, added as the last one when missing. False when
    // the file has no such language.
    bool fileLanguage(TMemIniFile& Ini, const AnsiString& AFileName, const AnsiString& LangName, int& N, int& M);

    // Look-up steps.
    friend class TlxStringsCollection;
    bool testModeLocked() const;  // the caller holds collLock_
    bool redirectedList(TStrings* List, bool ByIndex, TStrings*& Other) const;
    void textSearch(TStrings* List, const AnsiString& ID, AnsiString& Result, bool OrDefault) const;
    AnsiString entryText(const AnsiString& Entry, bool OrDefault, bool TestModeRule) const;

    // Language-switch helpers.
    AnsiString translatedText(const AnsiString& Entry) const;
    void applyOwnerText(TStringsType Type, const char* PropName);
    void applyOwnerFont();
    TComponent* findTarget(const AnsiString& ComponentName) const;
    bool isExcludedName(const AnsiString& ComponentName) const;
    bool ownerEntryApplies(TStringsType Type) const;
    void applyEntry(TStringsType Type, const AnsiString& Key, const AnsiString& Text, TComponent* Target);
    void applyFont(TComponent* Target, const AnsiString& Key, const AnsiString& Text, bool HonourParentFont);
    void applyMultiLines(TObject* Object, const AnsiString& PropName, const AnsiString& Text);
    // False when the entry names no existing collection item property.
    bool applyCollectionEntry(const AnsiString& Key, const AnsiString& Text);
    void applyLocale(const AnsiString& Key, const AnsiString& Text);
    void moveToScratch(TStrings* List, int Index);
    // BuildList's steps.
    void collectOwner();
    void collectOwnerEntry(TStringsType Type, const char* PropName, const AnsiString& Value);
    void collectComponent(TComponent* Component, TStringsType Type);
    // Value under Key: a new entry (reusing a pruned one with the same text),
    // or the active language of the existing one.
    void collectValue(TStringsType Type, const AnsiString& Key, const AnsiString& Value);
    // False when the property is excluded; a smart-excluded one loses its entry.
    bool collects(const AnsiString& ComponentName, TStringsType Type, const AnsiString& PropName);

    // TranslationData.
    void readOurStrProps(TStream& Stream);
    void writeOurStrProps(TStream& Stream);
    bool hasTranslationData(TPersistent* Ancestor) const;

    AnsiString version_;
    bool isInheritedOwner_ = false;
    std::unique_ptr<TStringList> stringsTypes_;
    std::unique_ptr<TStringList> smartExcludeProps_;
    bool handleResourceStrings_ = false;
    unsigned short resourceLanguageIndex_ = 1;
    bool useInheritedData_ = false;

    std::array<std::unique_ptr<TStringList>, ListTypeCount> lists_;
    int numOfLanguages_ = 1;
    std::atomic<int> activeLanguage_{1};
    int applySelector_ = -1;
    bool changeLocales_ = false;
    TlxLangDispatcher* langDispatcher_ = nullptr;
    char langDelim_ = 1;
    std::unique_ptr<TStringList> doNotTranslate_;
    std::unique_ptr<TStringList> langNames_;
    AnsiString language_;
    TTranslateType translateType_ = ttNoChange;
    TlxLangOptions options_;
    bool needAllDlgs_ = false;
    int changingCursor_ = lxCursorNoChange;
    std::unique_ptr<TStringList> excludedProperties_;
    bool doRaiseExceptions_ = false;
    std::unique_ptr<TlxExtendedItems> extended_;
    std::unique_ptr<TStringList> fixedLanguages_;
    std::unique_ptr<TStringList> scratch_;

    bool temporaryCopy_ = false;
    // A whole-file operation runs: the per-list follow-ups wait for its end.
    bool batch_ = false;
    bool ownerHasNoFont_ = false;
    std::array<AnsiString, LocaleKeyCount> systemLocale_;

    mutable std::shared_mutex collLock_;
    std::unique_ptr<TlxStringsCollection> stringsColl_;
    std::unique_ptr<TlxStringsCollection> resStringsColl_;
};

// The class placed on forms: publishes the lists and settings.
class TlxLang : public TlxCustomLang {
    YORDE_CLASS(TlxLang, TlxCustomLang)
public:
    explicit TlxLang(TComponent* AOwner) : TlxCustomLang(AOwner) {}
};
