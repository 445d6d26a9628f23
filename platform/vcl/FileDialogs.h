#pragma once
// The open and save file dialogs.
//
// Filter is the class library's "description|mask|description|mask" text;
// a mask may list several patterns separated by ";" ("*.wav;*.gsm").
// Execute runs the dialog modally (timers and queued calls go on) and
// returns true with FileName set when the user chose a file. DefaultExt is
// appended (after a dot) to a chosen name without an extension; when it is
// empty nothing is appended. The process's current folder is never changed.
#include "vcl/Peers.h"

#include "classes/Strings.h"

#include <functional>
#include <memory>
#include <vector>

enum TOpenOption : int {
    ofReadOnly,
    ofOverwritePrompt,
    ofHideReadOnly,
    ofNoChangeDir,
    ofShowHelp,
    ofNoValidate,
    ofAllowMultiSelect,
    ofExtensionDifferent,
    ofPathMustExist,
    ofFileMustExist,
    ofCreatePrompt,
    ofShareAware,
    ofNoReadOnlyReturn,
    ofNoTestFileCreate,
    ofNoNetworkButton,
    ofNoLongNames,
    ofOldStyleDialog,
    ofNoDereferenceLinks,
    ofEnableIncludeNotify,
    ofEnableSizing,
    ofDontAddToRecent,
    ofForceShowHidden
};
using TOpenOptions = TSet<TOpenOption>;
YORDE_ENUM_TYPEINFO(TOpenOption, "ofReadOnly", "ofOverwritePrompt", "ofHideReadOnly", "ofNoChangeDir", "ofShowHelp",
                    "ofNoValidate", "ofAllowMultiSelect", "ofExtensionDifferent", "ofPathMustExist", "ofFileMustExist",
                    "ofCreatePrompt", "ofShareAware", "ofNoReadOnlyReturn", "ofNoTestFileCreate", "ofNoNetworkButton",
                    "ofNoLongNames", "ofOldStyleDialog", "ofNoDereferenceLinks", "ofEnableIncludeNotify",
                    "ofEnableSizing", "ofDontAddToRecent", "ofForceShowHidden")
YORDE_SET_TYPEINFO(TOpenOptions, TOpenOption)

// One "description|mask" pair of a filter.
struct TFileFilter {
    AnsiString Description;
    std::vector<AnsiString> Masks;  // blanks trimmed, empty ones dropped
};
// Pairs in order; a description without a mask ends the list.
std::vector<TFileFilter> ParseFileFilter(const AnsiString& Filter);

class TCommonDialog : public TComponent {
    YORDE_CLASS(TCommonDialog, TComponent)
public:
    explicit TCommonDialog(TComponent* AOwner) : TComponent(AOwner) {}
    virtual bool Execute() = 0;
    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int Value) { helpContext_ = Value; }

    TNotifyEvent OnShow;
    TNotifyEvent OnClose;

protected:
    // The code page texts are shown in: the nearest control among the
    // owners, else the ANSI code page.
    int CodePage() const;

private:
    int helpContext_ = 0;
};

class TOpenDialog : public TCommonDialog {
    YORDE_CLASS(TOpenDialog, TCommonDialog)
public:
    explicit TOpenDialog(TComponent* AOwner);
    ~TOpenDialog() override;

    AnsiString DefaultExt() const { return defaultExt_; }
    void SetDefaultExt(const AnsiString& Value) { defaultExt_ = Value; }
    AnsiString FileName() const { return fileName_; }
    void SetFileName(const AnsiString& Value) { fileName_ = Value; }
    // Every chosen file (one unless ofAllowMultiSelect).
    TStrings* Files() const { return files_.get(); }
    AnsiString Filter() const { return filter_; }
    void SetFilter(const AnsiString& Value) { filter_ = Value; }
    // 1-based: the filter the dialog opens with, then the one the user left on.
    int FilterIndex() const { return filterIndex_; }
    void SetFilterIndex(int Value) { filterIndex_ = Value; }
    AnsiString InitialDir() const { return initialDir_; }
    void SetInitialDir(const AnsiString& Value) { initialDir_ = Value; }
    TOpenOptions Options() const { return options_; }
    void SetOptions(TOpenOptions Value) { options_ = Value; }
    AnsiString Title() const { return title_; }
    void SetTitle(const AnsiString& Value) { title_ = Value; }

    bool Execute() override;

protected:
    virtual bool IsSave() const { return false; }

private:
    bool run();
    TFileDialogData request() const;

    AnsiString defaultExt_;
    AnsiString fileName_;
    std::unique_ptr<TStringList> files_;
    AnsiString filter_;
    int filterIndex_ = 1;
    AnsiString initialDir_;
    TOpenOptions options_{ofHideReadOnly, ofEnableSizing};
    AnsiString title_;
};

class TSaveDialog : public TOpenDialog {
    YORDE_CLASS(TSaveDialog, TOpenDialog)
public:
    explicit TSaveDialog(TComponent* AOwner) : TOpenDialog(AOwner) {}

protected:
    bool IsSave() const override { return true; }
};

// Tests: answers every file dialog instead of the user. The hook may set
// FileName (and FilterIndex) and returns whether the user "chose"; the
// dialog then goes on as after a real choice (DefaultExt, Files). Null
// removes the hook.
using TFileDialogHook = std::function<bool(TOpenDialog* Dialog)>;
void SetFileDialogHook(TFileDialogHook Hook);
