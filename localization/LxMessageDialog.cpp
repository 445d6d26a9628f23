// The translated message and input dialogs of the translation component.
#include "localization/LxMessageDialog.h"

#include "localization/LxcompLang.h"
#include "rtl/Files.h"
#include "rtl/ResStrings.h"
#include "rtl/StrUtils.h"
#include "vcl/Dialogs.h"
#include "vcl/ExtCtrls.h"

#include <algorithm>
#include <cmath>

YORDE_IMPLEMENT_CLASS(TMessageForm, [](TClassBuilder<TMessageForm>& c) {
    c.Field("Message", &TMessageForm::Message);
    c.Method("HelpButtonClick", &TMessageForm::HelpButtonClick);
})

namespace {
struct ButtonInfo {
    const char* Name;
    TModalResult Result;
};
// In the order the buttons are laid out.
constexpr ButtonInfo buttons[] = {
    {"Yes", mrYes},     {"No", mrNo},         {"OK", mrOk},   {"Cancel", mrCancel},     {"Abort", mrAbort},
    {"Retry", mrRetry}, {"Ignore", mrIgnore}, {"All", mrAll}, {"No_To_All", mrNoToAll}, {"Yes_To_All", mrYesToAll},
    {"Help", mrNone},
};
constexpr const char* captionKeys[] = {"Warning", "Error", "Information", "Confirm"};

// The DlgsCaptions key of a control name: "No_To_All" -> "No To All".
AnsiString dialogKey(const char* Name) {
    AnsiString key = Name;
    std::replace(key.begin(), key.end(), '_', ' ');
    return key;
}

// The size of one line of text on the canvas.
int lineWidth(TCanvas* Canvas, const AnsiString& Text) {
    TRect r(0, 0, 0, 0);
    Canvas->DrawText(Text, r, DT_CALCRECT | DT_LEFT | DT_SINGLELINE);
    return r.Right;
}

// Centred on the screen.
void centre(TForm* Form) {
    Form->SetLeft(Screen->Width() / 2 - Form->Width() / 2);
    Form->SetTop(Screen->Height() / 2 - Form->Height() / 2);
}

TButton* addButton(TForm* Form, const char* Name, const AnsiString& Caption, TModalResult Result, const TRect& Bounds) {
    auto* button = new TButton(Form);
    button->SetName(Name);
    button->SetParent(Form);
    button->SetCaption(Caption);
    button->SetModalResult(Result);
    button->SetBounds(Bounds.Left, Bounds.Top, Bounds.Width(), Bounds.Height());
    return button;
}

// A new dialog form with the application as owner and the canvas on its font.
TMessageForm* newDialog(TComponent* LangOwner) {
    auto* form = new TMessageForm(Application);
    form->SetBorderStyle(bsDialog);
    form->SetPosition(poDesigned);
    if (auto* ownerForm = dynamic_cast<TCustomForm*>(LangOwner)) form->SetFont(ownerForm->Font());
    form->Canvas()->SetFont(form->Font());
    return form;
}
}  // namespace

int lxMulDiv(int Number, int Numerator, int Denominator) {
    if (Denominator == 0) return -1;
    return int(std::lround(double(Number) * double(Numerator) / double(Denominator)));
}

const char* lxButtonName(TMsgDlgBtn Button) { return buttons[Button].Name; }

void TMessageForm::HelpButtonClick(TObject*) {
    if (!HelpFile.empty() && !FileExists(HelpFile))
        ShowMessageBox("Cannot find help file \"" + HelpFile + "\".", "Error", MB_ICONEXCLAMATION);
}

TSize TlxCustomLang::LxGetAveCharSize(TCanvas* Canvas) {
    static const AnsiString letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    TSize size = Canvas->TextExtent(letters);
    size.cx /= 52;
    return size;
}

TMessageForm* TlxCustomLang::CreateMessageDialog(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons) {
    TMessageForm* form = newDialog(Owner());
    try {
        const TSize ave = LxGetAveCharSize(form->Canvas());
        const int horzMargin = lxMulDiv(8, ave.cx, 4);
        const int vertMargin = lxMulDiv(8, ave.cy, 8);
        const int horzSpacing = lxMulDiv(10, ave.cx, 4);
        const int vertSpacing = lxMulDiv(10, ave.cy, 8);
        const int buttonHeight = lxMulDiv(14, ave.cy, 8);
        const int buttonSpacing = lxMulDiv(4, ave.cx, 4);
        auto translated = [this](const AnsiString& Key) {
            AnsiString text;
            GetTextFrom(DlgsCaptions(), Key, text, true);
            return text;
        };

        int buttonWidth = lxMulDiv(50, ave.cx, 4);
        int count = 0;
        for (int b = mbYes; b <= mbHelp; ++b) {
            if (!Buttons.Contains(TMsgDlgBtn(b))) continue;
            ++count;
            buttonWidth = std::max(buttonWidth, lineWidth(form->Canvas(), translated(dialogKey(buttons[b].Name))) + 8);
        }
        TRect text(0, 0, Screen->Width() / 2, 0);
        form->Canvas()->DrawText(Msg, text, DT_EXPANDTABS | DT_CALCRECT | DT_WORDBREAK);
        const bool icon = DlgType != mtCustom;
        const int iconTextWidth = text.Right + (icon ? horzSpacing + 32 : 0);
        const int iconTextHeight = icon ? std::max(32, text.Bottom) : text.Bottom;
        const int groupWidth = count * buttonWidth + std::max(0, count - 1) * buttonSpacing;
        form->SetClientSize(std::max(iconTextWidth, groupWidth) + 2 * horzMargin,
                            iconTextHeight + buttonHeight + vertSpacing + 2 * vertMargin);
        centre(form);
        form->SetCaption(icon ? translated(captionKeys[DlgType]) : Application->Title());

        if (icon) {
            auto* image = new TImage(form);
            image->SetName("Image");
            image->SetParent(form);
            image->SetBounds(horzMargin, vertMargin, 32, 32);
            lxDrawDialogIcon(DlgType, image->Picture()->Bitmap());
        }
        auto* message = new TLabel(form);
        message->SetName("Message");
        message->SetParent(form);
        message->SetWordWrap(true);
        message->SetCaption(Msg);
        message->SetBounds(iconTextWidth - text.Right + horzMargin, vertMargin, text.Right, text.Bottom);

        const TMsgDlgBtn defaultButton = Buttons.Contains(mbOK) ? mbOK : Buttons.Contains(mbYes) ? mbYes : mbRetry;
        const TMsgDlgBtn cancelButton = Buttons.Contains(mbCancel) ? mbCancel : Buttons.Contains(mbNo) ? mbNo : mbOK;
        int x = (form->ClientWidth() - groupWidth) / 2;
        for (int b = mbYes; b <= mbHelp; ++b) {
            if (!Buttons.Contains(TMsgDlgBtn(b))) continue;
            const int top = iconTextHeight + vertMargin + vertSpacing;
            TButton* button = addButton(form, buttons[b].Name, translated(dialogKey(buttons[b].Name)),
                                        buttons[b].Result, TRect(x, top, x + buttonWidth, top + buttonHeight));
            button->SetDefault(b == defaultButton);
            // Enter and Space go to the focused button: the default one has it.
            if (b == defaultButton) form->SetActiveControl(button);
            button->SetCancel(b == cancelButton);
            if (b == mbHelp) button->OnClick = TNotifyEvent(form, &TMessageForm::HelpButtonClick);
            x += buttonWidth + buttonSpacing;
        }
    } catch (...) {
        TObject::Free(form);
        throw;
    }
    return form;
}

int TlxCustomLang::MessageDlgPosHelp(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx,
                                     int X, int Y, const AnsiString& HelpFileName) {
    TMessageForm* form = CreateMessageDialog(Msg, DlgType, Buttons);
    struct Freed {
        TMessageForm* f;
        ~Freed() { TObject::Free(f); }
    } freed{form};
    form->SetHelpContext(HelpCtx);
    form->HelpFile = HelpFileName;
    if (X >= 0) form->SetLeft(X);
    if (Y >= 0) form->SetTop(Y);
    return form->ShowModal();
}

int TlxCustomLang::MessageDlgPos(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx, int X,
                                 int Y) {
    return MessageDlgPosHelp(Msg, DlgType, Buttons, HelpCtx, X, Y, AnsiString());
}

int TlxCustomLang::MessageDlg(const AnsiString& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx) {
    return MessageDlgPosHelp(Msg, DlgType, Buttons, HelpCtx, -1, -1, AnsiString());
}

void TlxCustomLang::ShowMessagePos(const AnsiString& Msg, int X, int Y) {
    MessageDlgPos(Msg, mtCustom, TMsgDlgButtons{mbOK}, 0, X, Y);
}

void TlxCustomLang::ShowMessage(const AnsiString& Msg) { ShowMessagePos(Msg, -1, -1); }

void TlxCustomLang::ShowMessageFmt(const AnsiString& Fmt, std::initializer_list<TVarRec> Args) {
    ShowMessage(Format(Fmt, Args));
}

bool TlxCustomLang::InputQuery(const AnsiString& ACaption, const AnsiString& Prompt, AnsiString& Value) {
    TForm* form = newDialog(Owner());
    struct Freed {
        TForm* f;
        ~Freed() { TObject::Free(f); }
    } freed{form};
    const TSize ave = LxGetAveCharSize(form->Canvas());
    form->SetCaption(ACaption);
    form->SetClientWidth(lxMulDiv(180, ave.cx, 4));
    auto* prompt = new TLabel(form);
    prompt->SetParent(form);
    prompt->SetCaption(Prompt);
    prompt->SetLeft(lxMulDiv(8, ave.cx, 4));
    prompt->SetTop(lxMulDiv(8, ave.cy, 8));
    prompt->SetWordWrap(true);
    // Word wrapping within the prompt's greatest width.
    TRect promptRect(0, 0, lxMulDiv(164, ave.cx, 4), 0);
    form->Canvas()->DrawText(Prompt, promptRect, DT_CALCRECT | DT_WORDBREAK);
    prompt->SetAutoSize(false);
    prompt->SetBounds(prompt->Left(), prompt->Top(), promptRect.Right, promptRect.Bottom);
    auto* edit = new TEdit(form);
    edit->SetName("Edit");
    edit->SetParent(form);
    edit->SetLeft(prompt->Left());
    edit->SetTop(prompt->Top() + prompt->Height() + 5);
    edit->SetWidth(lxMulDiv(164, ave.cx, 4));
    edit->SetMaxLength(255);
    edit->SetText(Value);
    edit->SelectAll();
    const int buttonTop = edit->Top() + edit->Height() + 15;
    const int buttonWidth = lxMulDiv(50, ave.cx, 4);
    const int buttonHeight = lxMulDiv(14, ave.cy, 8);
    const int okLeft = lxMulDiv(38, ave.cx, 4);
    const int cancelLeft = lxMulDiv(92, ave.cx, 4);
    addButton(form, "OK", LoadResString(&rsDlgOK), mrOk,
              TRect(okLeft, buttonTop, okLeft + buttonWidth, buttonTop + buttonHeight))
        ->SetDefault(true);
    addButton(form, "Cancel", LoadResString(&rsDlgCancel), mrCancel,
              TRect(cancelLeft, buttonTop, cancelLeft + buttonWidth, buttonTop + buttonHeight))
        ->SetCancel(true);
    form->SetClientHeight(buttonTop + buttonHeight + 13);
    centre(form);
    if (form->ShowModal() != mrOk) return false;
    Value = edit->Text();
    return true;
}

AnsiString TlxCustomLang::InputBox(const AnsiString& ACaption, const AnsiString& Prompt, const AnsiString& Default) {
    AnsiString value = Default;
    InputQuery(ACaption, Prompt, value);
    return value;
}
