#include "workstation/Unitdebug.h"

#include <iostream>

TDebugForm* DebugForm = nullptr;

YORDE_IMPLEMENT_CLASS(TDebugForm, [](TClassBuilder<TDebugForm>& c) {
    c.Field("Memo1", &TDebugForm::Memo1);
    c.Field("Timer1", &TDebugForm::Timer1);
    c.Method("Timer1Timer", &TDebugForm::Timer1Timer);
})

TDebugForm::TDebugForm(TComponent* AOwner) : TForm(AOwner) {
    InitLayout();
    SetVisible(false);
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
}
