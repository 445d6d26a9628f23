#include "workstation/Unitdebug.h"

#include <iostream>
#include <mutex>
#include <vector>

TDebugForm* DebugForm = nullptr;

namespace {

// Lines of the start-up, which runs before the log exists: they wait for it.
std::mutex gEarlyMutex;
std::vector<AnsiString> gEarlyLines;
constexpr size_t kEarlyLinesMax = 1000;

}  // namespace

YORDE_IMPLEMENT_CLASS(TDebugForm, [](TClassBuilder<TDebugForm>& c) {
    c.Field("Memo1", &TDebugForm::Memo1);
    c.Field("Timer1", &TDebugForm::Timer1);
    c.Method("Timer1Timer", &TDebugForm::Timer1Timer);
})

TDebugForm::TDebugForm(TComponent* AOwner) : TForm(AOwner) {
    InitLayout();
    SetVisible(false);
    std::vector<AnsiString> early;
    {
        std::lock_guard lock(gEarlyMutex);
        early.swap(gEarlyLines);
    }
    for (const AnsiString& line : early) AddLine(line);
}

void TDebugForm::AddLine(const AnsiString& Line) { Memo1->Lines()->Add(Line); }

void TDebugForm::Timer1Timer(TObject*) {
    // The whole log goes, not only its oldest lines.
    if (Memo1->Lines()->Count() > DebugLogMaxLines) Memo1->Lines()->Clear();
}

void DebugLog(const AnsiString& Line) {
    // The global is set before the form's constructor runs: the memo tells
    // whether the log is there yet.
    TDebugForm* log = DebugForm;
    if (log && log->Memo1) {
        log->AddLine(Line);
        return;
    }
    std::clog << Line << '\n';
    std::lock_guard lock(gEarlyMutex);
    if (gEarlyLines.size() < kEarlyLinesMax) gEarlyLines.push_back(Line);
}
