#pragma once
// Registers TMemo, TComboBox, TTrackBar, TProgressBar, TDateTimePicker and
// TMaskEdit by name.
void RegisterCommonControlClasses();
