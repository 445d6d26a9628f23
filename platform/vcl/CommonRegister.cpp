// The memo, list, combo, bar and picker classes that layouts may name.
#include "vcl/CommonRegister.h"

#include "vcl/Bevel.h"
#include "vcl/ComCtrls.h"
#include "vcl/ComboBox.h"
#include "vcl/GroupBox.h"
#include "vcl/ListBox.h"
#include "vcl/Mask.h"
#include "vcl/Memo.h"
#include "vcl/RadioButton.h"
#include "vcl/Shape.h"

void RegisterCommonControlClasses() {
    RegisterClasses({TMemo::StaticClass(), TComboBox::StaticClass(), TListBox::StaticClass(),
                     TRadioButton::StaticClass(), TGroupBox::StaticClass(), TTrackBar::StaticClass(),
                     TProgressBar::StaticClass(), TDateTimePicker::StaticClass(), TMaskEdit::StaticClass(),
                     TBevel::StaticClass(), TShape::StaticClass()});
}
