#pragma once
// The hidden debug log: a memo that collects trace lines from the start-up,
// the device link and the SD-card import, for inspecting a running process.
// Past 10000 lines it is cleared on the next tick of its timer.
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/Memo.h"

class TDebugForm : public TForm {
    YORDE_CLASS(TDebugForm, TForm)
public:
    TMemo* Memo1 = nullptr;
    TTimer* Timer1 = nullptr;

    // Builds the form hidden.
    explicit TDebugForm(TComponent* AOwner);

    // Appends one line as it is (no time stamp, no prefix). Any thread: a
    // worker's lines are queued to the main thread in the order they were
    // added, and no line is lost or mixed with another.
    void AddLine(const AnsiString& Line);

    void Timer1Timer(TObject* Sender);
};

extern TDebugForm* DebugForm;

// Adds a line to DebugForm's log. Before the log exists the line goes to
// the standard error stream and waits for the log, which takes it first
// (the start-up's lines, the first thousand). Any thread.
void DebugLog(const AnsiString& Line);

// More lines than this are cleared by the next timer tick.
constexpr int DebugLogMaxLines = 10000;
