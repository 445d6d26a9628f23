#pragma once
// The program's message dialog (one OK image button) and its catalogue of
// numbered messages, plus the two routines that show a message in one call.
//
// Use: create the dialog, call one setter (or set MessageLabel and the
// caption yourself), ShowModal, free it. Enter and Escape both give 1.
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/ImgList.h"
#include "vcl/StdCtrls.h"

class TlxLang;

class TMessageDialog : public TForm {
    YORDE_CLASS(TMessageDialog, TForm)
public:
    TButton* OKBtn = nullptr;
    TLabel* MessageLabel = nullptr;
    TImageList* ImageList1 = nullptr;
    TImage* ImageOK = nullptr;
    TTimer* Timer1 = nullptr;
    TlxLang* lxLang1 = nullptr;

    explicit TMessageDialog(TComponent* AOwner);

    // Catalogue setters: the message text in the active language ending with
    // a full stop (see EndSentence). A code outside the catalogue leaves the
    // label as it is.
    // 0 IDS_NO_ADMIN, 1 IDS_TOO_MANY_USERS, 2 IDS_USER_EXISTS, 3 IDS_USER_MOD,
    // 4 IDS_REMOVE_ADMIN, 5 IDS_USER_DATA, 6 IDS_BE_REMOVED, 7 IDS_DB_ERROR.
    void SetUsersMessage(int code);
    // "<rule>.\n<Use> 2-20 <characters>." for 0 user name, 1 password (3-20),
    // 2 view, 3 listen, 4 delete number.
    void SetFieldRuleMessage(int code);
    // 0 IDS_ADMIN_USERNAME, 1 IDS_REPEAT_PASSWORD, 2 IDS_CHOOSE_USER.
    void SetAccountMessage(int code);
    // IDS_ADMIN_CREATE_ERROR; in a language of long texts (Russian) the
    // dialog grows for it.
    void SetAdminCreateError();
    // 0 IDS_ANNOUNCE_NOFILE, 1 IDS_ANNOUNCE_TOOBIG, 2 IDS_ANNOUNCE_CORRECT, 3 IDS_LIBSND_ERROR.
    void SetAnnouncementMessage(int code);
    // 0 IDS_OPEN_ERROR, 1 IDS_FREEMEM_ERROR, 2 IDS_RECORDFILE_ERROR,
    // 3 IDS_RECORDFILE_REMOVED, 4 IDS_EXPORT_ERROR, 5 IDS_EXPORT_ERROR_2.
    void SetMediaMessage(int code);
    // The users file that cannot serve, on a line of its own, and why:
    // 0 a folder, 1 no file, 2 no permission, 3 disk full, 4 cannot be
    // written. The dialog grows until the whole text shows.
    void SetUsersFileMessage(const AnsiString& fileName, int reason);

    // Handlers.
    void ImageOKMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void ImageOKMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void ImageOKClick(TObject* Sender);
    void FormKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
    void Timer1Timer(TObject* Sender);

private:
    AnsiString T(const char* Key) const;
    // Sets the sentence of Keys[code] when code is inside the table.
    template <size_t N>
    void setSentence(const char* const (&Keys)[N], int code);
    // Widens and heightens the label, and the dialog with it, for a text
    // that does not fit.
    void fitMessage();
};

// Text with a full stop appended, unless it ends with one already (some
// translations carry their own).
AnsiString EndSentence(const AnsiString& Text);

// Shows Text under Caption in a message dialog owned by Owner; returns the
// modal result (1 for OK, Enter and Escape).
int ShowCaptionMessage(TComponent* Owner, const AnsiString& Caption, const AnsiString& Text);
// The same for a text of a fixed code page, whatever language is active
// (the label decodes it with Charset).
int ShowCaptionMessage(TComponent* Owner, const AnsiString& Caption, const AnsiString& Text, TFontCharset Charset);

// Catalogues of ShowMessageDialog.
enum : int { mcMedia = 0, mcAnnouncements = 1, mcUsers = 2 };
// Shows message Code of Catalogue (0 media, 1 announcements, 2 users; any
// other catalogue shows an empty dialog) in a dialog owned by Owner.
void ShowMessageDialog(TComponent* Owner, int Catalogue, int Code);
