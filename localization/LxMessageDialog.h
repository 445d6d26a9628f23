#pragma once
// The message dialog the translation component builds in code, laid out from
// the average character size of its font, and what it is made of.
#include "localization/LxTypes.h"
#include "vcl/Forms.h"
#include "vcl/StdCtrls.h"

class TMessageForm : public TForm {
    YORDE_CLASS(TMessageForm, TForm)
public:
    explicit TMessageForm(TComponent* AOwner) : TForm(AOwner) {}
    // The label showing the text (published field).
    TLabel* Message = nullptr;
    // Named by MessageDlgPosHelp; the help button looks for it.
    AnsiString HelpFile;
    // Help topics have no viewer here: a help file that is named but missing
    // is reported, nothing else happens.
    void HelpButtonClick(TObject* Sender);
};

// Number * Numerator / Denominator, rounded to the nearest integer (halves
// away from zero); -1 for a zero denominator.
int lxMulDiv(int Number, int Numerator, int Denominator);

// The standard picture of a dialog type, 32 x 32 (none for mtCustom).
void lxDrawDialogIcon(TMsgDlgType Type, TBitmap* Bitmap);

// The control names of the buttons ("No_To_All"); their DlgsCaptions keys
// have blanks instead of "_".
const char* lxButtonName(TMsgDlgBtn Button);
