// The memo, combo, bar, picker and masked edit classes that layouts may name.
#include "vcl/CommonRegister.h"

#include "vcl/ComCtrls.h"
#include "vcl/ComboBox.h"
#include "vcl/Mask.h"
#include "vcl/Memo.h"

void RegisterCommonControlClasses() {
    RegisterClasses({TMemo::StaticClass(), TComboBox::StaticClass(), TTrackBar::StaticClass(),
                     TProgressBar::StaticClass(), TDateTimePicker::StaticClass(), TMaskEdit::StaticClass()});
}
