#pragma once
// TMemo: a multi-line edit. Its text is the control's Text, line breaks CR LF
// (Lines->Add writes CR LF; the user's line breaks come back as CR LF; text
// set from code is kept byte for byte). Lines is a TStrings view of that
// text, split at CR LF, lone CR or lone LF; a break at the very end starts
// no further line, as with the class library's memo.
//
// Event rules:
// - OnChange after every change of the text: set from code (when it really
//   changes), through Lines (Add, Insert, Delete, Put, Clear, Text), typed.
// - OnKeyDown sees a key before the memo inserts anything for it.
// - MaxLength limits typing and pasting only, a line break counting as two.
//
// Threads: Lines->Add/Insert/Delete/Put/Clear/SetText/AddStrings called on a
// worker are queued to the main thread, in call order across all threads,
// and return at once (Add then returns -1); Count and Strings wait for the
// main thread. BeginUpdate/EndUpdate and Assign belong to the main thread.
#include "vcl/CommonTypes.h"
#include "vcl/StdCtrls.h"

#include <functional>
#include <memory>
#include <vector>

class TMemoStrings;
class IMemoPeer;

class TCustomMemo : public TCustomEdit {
    YORDE_CLASS(TCustomMemo, TCustomEdit)
public:
    explicit TCustomMemo(TComponent* AOwner);
    ~TCustomMemo() override;

    TStrings* Lines() const;
    void SetLines(TStrings* Value);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle Value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool Value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment Value);
    // Enter types a line break (else it goes to the form's Default button).
    bool WantReturns() const { return wantReturns_; }
    void SetWantReturns(bool Value);
    // Tab types a tab (else it moves the focus).
    bool WantTabs() const { return wantTabs_; }
    void SetWantTabs(bool Value);

protected:
    friend class TMemoStrings;
    friend class TCommonInput;
    void TextChanged() override;
    void InitPeer() override;
    bool WantSpecialKey(WORD Key) const override;
    // The user edited the text; Bytes has CR LF line breaks.
    void UserEdited(const AnsiString& Bytes);

private:
    // The lines of text_: where each starts (byte offsets).
    int lineCount() const;
    AnsiString line(int Index) const;
    size_t lineEnd(size_t Index) const;
    void reindex();
    // Replaces Len bytes at Pos with Bytes and updates the line starts.
    void replace(size_t Pos, size_t Len, const AnsiString& Bytes);
    void insertLine(int Index, const AnsiString& S);
    void deleteLine(int Index);
    void putLine(int Index, const AnsiString& S);
    // The whole text, replaced through Lines (an open BeginUpdate holds the screen).
    void setAll(const AnsiString& Text);
    // After a change through Lines: the peer (Show, or the whole text), then OnChange.
    void linesChanged(const std::function<void(IMemoPeer&)>& Show);
    void setLinesUpdating(bool Updating);
    void pushOptions();

    std::unique_ptr<TMemoStrings> lines_;
    std::vector<size_t> starts_{0};
    bool linesUpdating_ = false;
    TScrollStyle scrollBars_ = ssNone;
    bool wordWrap_ = true;
    TAlignment alignment_ = taLeftJustify;
    bool wantReturns_ = true;
    bool wantTabs_ = false;
};

class TMemo : public TCustomMemo {
    YORDE_CLASS(TMemo, TCustomMemo)
public:
    explicit TMemo(TComponent* AOwner) : TCustomMemo(AOwner) {}
};
