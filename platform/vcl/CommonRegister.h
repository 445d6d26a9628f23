#pragma once
// Registers TMemo, TComboBox, TListBox, TRadioButton, TGroupBox, TTrackBar,
// TProgressBar, TDateTimePicker, TMaskEdit, TBevel and TShape by name.
void RegisterCommonControlClasses();
