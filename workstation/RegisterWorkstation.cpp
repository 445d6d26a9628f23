#include "workstation/RegisterWorkstation.h"

#include "workstation/AddressBookDialogUnit.h"
#include "workstation/Mainunit.h"
#include "workstation/UnitImport.h"
#include "workstation/Unitaddressbookform.h"
#include "workstation/Unitadduserform.h"
#include "workstation/Unitannoun.h"
#include "workstation/Unitconnect.h"
#include "workstation/Unitdebug.h"
#include "workstation/Unitdelete.h"
#include "workstation/Unitdmlang.h"
#include "workstation/Unitfiltr.h"
#include "workstation/Unitmediaframe.h"
#include "workstation/Unitmessage.h"
#include "workstation/Unitpaswd.h"
#include "workstation/Unitquestion.h"
#include "workstation/Unitstatus.h"
#include "workstation/Unitusers.h"

void RegisterWorkstationClasses() {
    // Dialogs and the message catalogue.
    RegisterClasses({TMessageDialog::StaticClass(), TQuestionDialog::StaticClass(), TDeleteDialog::StaticClass(),
                     TAnnounDialog::StaticClass()});
    // Users: the users tab, the user dialog and the login password dialog.
    RegisterClasses({TUsersFrame::StaticClass(), TadduserDialogForm::StaticClass(), TuserpaswdDialog::StaticClass()});
    // The recordings frame (with its media player component) and the filter tab.
    RegisterClasses({TMediaFrame::StaticClass(), TMediaPlayer::StaticClass(), TFiltrFrame::StaticClass()});
    // The SD-card import's drive dialog, the address book and its entry dialog.
    RegisterClasses({TImportDialog::StaticClass(), TAddressBook::StaticClass(), TAddressBookDialog::StaticClass()});
    // The connection tab and the status bar.
    RegisterClasses({TConnectFrame::StaticClass(), TStatusFrame::StaticClass()});
    // Start-up: the language data module, the main window with its
    // single-instance socket, and the hidden debug log.
    RegisterClasses(
        {TDMLang::StaticClass(), TMainForm::StaticClass(), TServerSocket::StaticClass(), TDebugForm::StaticClass()});
}
