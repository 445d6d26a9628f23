#include "workstation/Unitmessage.h"
#include "workstation/FormColors.h"

#include "localization/Lxcomp.h"
#include "rtl/Languages.h"
#include "workstation/ImageButtons.h"

#include <iterator>

YORDE_IMPLEMENT_CLASS(TMessageDialog, [](TClassBuilder<TMessageDialog>& c) {
    using T = TMessageDialog;
    c.Field("OKBtn", &T::OKBtn);
    c.Field("MessageLabel", &T::MessageLabel);
    c.Field("ImageList1", &T::ImageList1);
    c.Field("ImageOK", &T::ImageOK);
    c.Field("Timer1", &T::Timer1);
    c.Field("lxLang1", &T::lxLang1);
    c.Method("ImageOKMouseDown", &T::ImageOKMouseDown);
    c.Method("ImageOKMouseUp", &T::ImageOKMouseUp);
    c.Method("ImageOKClick", &T::ImageOKClick);
    c.Method("FormKeyDown", &T::FormKeyDown);
    c.Method("Timer1Timer", &T::Timer1Timer);
})

namespace {

// The OK bitmap is the same in every language.
constexpr int kOkImage = 0;
constexpr int kOkPressedImage = 1;

const char* const kUsersKeys[] = {"IDS_NO_ADMIN",     "IDS_TOO_MANY_USERS", "IDS_USER_EXISTS", "IDS_USER_MOD",
                                  "IDS_REMOVE_ADMIN", "IDS_USER_DATA",      "IDS_BE_REMOVED",  "IDS_DB_ERROR"};
const char* const kAccountKeys[] = {"IDS_ADMIN_USERNAME", "IDS_REPEAT_PASSWORD", "IDS_CHOOSE_USER"};
const char* const kAnnouncementKeys[] = {"IDS_ANNOUNCE_NOFILE", "IDS_ANNOUNCE_TOOBIG", "IDS_ANNOUNCE_CORRECT",
                                         "IDS_LIBSND_ERROR"};
const char* const kMediaKeys[] = {"IDS_OPEN_ERROR",         "IDS_FREEMEM_ERROR", "IDS_RECORDFILE_ERROR",
                                  "IDS_RECORDFILE_REMOVED", "IDS_EXPORT_ERROR",  "IDS_EXPORT_ERROR_2"};
const char* const kFileReasonKeys[] = {"IDS_FILE_FOLDER", "IDS_FILE_NOT_FILE", "IDS_FILE_NO_PERMISSION",
                                       "IDS_FILE_DISK_FULL", "IDS_FILE_WRITE_FAILED"};

struct TFieldRule {
    const char* Key;
    const char* Range;
};
const TFieldRule kFieldRules[] = {{"IDS_SHORT_USERNAME", " 2-20 "},
                                  {"IDS_SHORT_PASSWORD", " 3-20 "},
                                  {"IDS_SHORT_VIEW_PRIV", " 2-20 "},
                                  {"IDS_SHORT_PLAY_PRIV", " 2-20 "},
                                  {"IDS_SHORT_REMOVE_PRIV", " 2-20 "}};

// Room for IDS_ADMIN_CREATE_ERROR in a language of long texts.
constexpr int kGrownImageTop = 96;
constexpr int kGrownLabelHeight = 81;
constexpr int kGrownFormHeight = 170;

struct FreeOnExit {
    TObject* Object;
    ~FreeOnExit() { TObject::Free(Object); }
};

}  // namespace

TMessageDialog::TMessageDialog(TComponent* AOwner) : TForm(AOwner) {
    InitLayout();
    SetColor(clFormBackground);
    ShowButtonImage(ImageOK, ImageList1, kOkImage);
}

AnsiString TMessageDialog::T(const char* Key) const { return lxLang1->GetTextOrDefault(Key); }

template <size_t N>
void TMessageDialog::setSentence(const char* const (&Keys)[N], int code) {
    if (code < 0 || code >= int(N)) return;
    MessageLabel->SetCaption(EndSentence(T(Keys[code])));
}

void TMessageDialog::SetUsersMessage(int code) { setSentence(kUsersKeys, code); }

void TMessageDialog::SetFieldRuleMessage(int code) {
    if (code < 0 || code >= int(std::size(kFieldRules))) return;
    const TFieldRule& rule = kFieldRules[code];
    MessageLabel->SetCaption(EndSentence(T(rule.Key)) + "\n" + EndSentence(T("IDS_USE") + rule.Range + T("IDS_CHARS")));
}

void TMessageDialog::SetAccountMessage(int code) { setSentence(kAccountKeys, code); }

void TMessageDialog::SetAdminCreateError() {
    MessageLabel->SetCaption(EndSentence(T("IDS_ADMIN_CREATE_ERROR")));
    if (const TLanguage* language = LanguageNumbered(lxLang1->ActiveLanguage()); language && language->LongTexts) {
        ImageOK->SetTop(kGrownImageTop);
        MessageLabel->SetHeight(kGrownLabelHeight);
        SetHeight(kGrownFormHeight);
    }
}

void TMessageDialog::SetAnnouncementMessage(int code) { setSentence(kAnnouncementKeys, code); }

void TMessageDialog::SetMediaMessage(int code) { setSentence(kMediaKeys, code); }

void TMessageDialog::SetUsersFileMessage(const AnsiString& fileName, int reason) {
    if (reason < 0 || reason >= int(std::size(kFileReasonKeys))) return;
    MessageLabel->SetCaption(T("IDS_USERS_FILE_UNUSABLE") + "\n" + fileName + "\n" +
                             EndSentence(T(kFileReasonKeys[reason])));
    fitMessage();
}

void TMessageDialog::fitMessage() {
    TCanvas measure;
    measure.SetFont(MessageLabel->Font());
    TRect needed(0, 0, MessageLabel->Width(), 0);
    measure.DrawText(MessageLabel->Caption(), needed,
                     DT_EXPANDTABS | DT_WORDBREAK | DT_CALCRECT | (MessageLabel->ShowAccelChar() ? 0u : DT_NOPREFIX));
    // A word longer than the line (a path) widens the dialog on both sides.
    if (const int wider = needed.Width() - MessageLabel->Width(); wider > 0) {
        MessageLabel->SetWidth(MessageLabel->Width() + wider);
        ImageOK->SetLeft(ImageOK->Left() + wider / 2);
        SetClientWidth(ClientWidth() + wider);
    }
    if (const int taller = needed.Height() - MessageLabel->Height(); taller > 0) {
        MessageLabel->SetHeight(MessageLabel->Height() + taller);
        ImageOK->SetTop(ImageOK->Top() + taller);
        SetClientHeight(ClientHeight() + taller);
    }
}

void TMessageDialog::ImageOKMouseDown(TObject*, TMouseButton, TShiftState, int, int) {
    ShowButtonImage(ImageOK, ImageList1, kOkPressedImage);
}

void TMessageDialog::ImageOKMouseUp(TObject*, TMouseButton, TShiftState, int, int) {
    ShowButtonImage(ImageOK, ImageList1, kOkImage);
}

void TMessageDialog::ImageOKClick(TObject*) { OKBtn->Click(); }

void TMessageDialog::FormKeyDown(TObject*, WORD& Key, TShiftState) {
    if (Key == VK_RETURN || Key == VK_ESCAPE) OKBtn->Click();
}

void TMessageDialog::Timer1Timer(TObject*) { Invalidate(); }

// ---------------------------------------------------------------------------

AnsiString EndSentence(const AnsiString& Text) {
    if (!Text.empty() && Text.back() == '.') return Text;
    return Text + ".";
}

int ShowCaptionMessage(TComponent* Owner, const AnsiString& Caption, const AnsiString& Text) {
    // The text comes from the caller's translations. While the main window
    // previews a language switch they are not in the dialog's language, so
    // the label decodes them with the caller's charset.
    auto* control = dynamic_cast<TControl*>(Owner);
    return ShowCaptionMessage(Owner, Caption, Text,
                              control ? control->Font()->Charset() : TFontCharset(DEFAULT_CHARSET));
}

int ShowCaptionMessage(TComponent* Owner, const AnsiString& Caption, const AnsiString& Text, TFontCharset Charset) {
    auto* dialog = NewForm<TMessageDialog>(Owner);
    FreeOnExit guard{dialog};
    if (Charset != DEFAULT_CHARSET) dialog->MessageLabel->Font()->SetCharset(Charset);
    dialog->MessageLabel->SetCaption(Text);
    dialog->SetCaption(Caption);
    return dialog->ShowModal();
}

void ShowMessageDialog(TComponent* Owner, int Catalogue, int Code) {
    auto* dialog = NewForm<TMessageDialog>(Owner);
    FreeOnExit guard{dialog};
    switch (Catalogue) {
    case mcMedia: dialog->SetMediaMessage(Code); break;
    case mcAnnouncements: dialog->SetAnnouncementMessage(Code); break;
    case mcUsers: dialog->SetUsersMessage(Code); break;
    default: break;
    }
    dialog->ShowModal();
}
