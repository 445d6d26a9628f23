// The classes layouts may name.
#include "vcl/Register.h"

#include "vcl/Buttons.h"
#include "vcl/CommonRegister.h"
#include "vcl/Dialogs.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/Grids.h"
#include "vcl/ImgList.h"
#include "vcl/Menus.h"
#include "vcl/StdCtrls.h"

void RegisterVclClasses() {
    RegisterClasses({TForm::StaticClass(), TFrame::StaticClass(), TDataModule::StaticClass(), TPanel::StaticClass(),
                     TLabel::StaticClass(), TEdit::StaticClass(), TButton::StaticClass(), TBitBtn::StaticClass(),
                     TCheckBox::StaticClass(), TImage::StaticClass(), TPaintBox::StaticClass(), TTimer::StaticClass(),
                     TPopupMenu::StaticClass()});
    // Menus, image lists, the tray icon and the file dialogs.
    RegisterClasses({TMainMenu::StaticClass(), TMenuItem::StaticClass(), TImageList::StaticClass(),
                     TTrayIcon::StaticClass(), TOpenDialog::StaticClass(), TSaveDialog::StaticClass()});
    RegisterCommonControlClasses();
    RegisterGridClasses();
}
