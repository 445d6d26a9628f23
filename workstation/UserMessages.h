#pragma once
// The messages and questions of the user accounts, shown modally in the
// program's message, question and delete dialogs and freed at once.
#include "rtl/AnsiString.h"

class TComponent;
class EUsersFileError;

// Account messages: 0 IDS_ADMIN_USERNAME, 1 IDS_REPEAT_PASSWORD, 2 IDS_CHOOSE_USER.
void ShowAccountMessage(TComponent* Owner, int Code);
// Field rules: 0 user name, 1 password, 2 view, 3 listen, 4 delete number.
void ShowFieldRuleMessage(TComponent* Owner, int Code);
// IDS_ADMIN_CREATE_ERROR.
void ShowAdminCreateError(TComponent* Owner);
// A message dialog without owner with a caption and text of the caller's.
void ShowTextMessage(const AnsiString& Caption, const AnsiString& Text);
// The delete-confirmation dialog with the caller's text; true for OK.
bool ConfirmDeletion(TComponent* Owner, const AnsiString& Text);

// The users file that cannot serve and why, once; the system's words go to
// the debug log.
void ShowUsersFileError(TComponent* Owner, const EUsersFileError& Error);

// Lets the user store show its messages and questions in these dialogs
// and write its log lines to the debug log. Safe to call more than once.
void InstallUserStoreDialogs();
