#pragma once
// The filter tab: a date-time range with a switch per bound, the calling
// and called numbers, eight quick ranges and the switch that puts the
// address book's descriptions into the recordings list. It holds the
// criteria; the recordings list reads them when it is rebuilt.
#include "vcl/Buttons.h"
#include "vcl/ComCtrls.h"
#include "vcl/ComboBox.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/ImgList.h"
#include "vcl/StdCtrls.h"

class TlxLangLinked;

class TFiltrFrame : public TFrame {
    YORDE_CLASS(TFiltrFrame, TFrame)
public:
    TLabel* OdLabel = nullptr;
    TLabel* DoLabel = nullptr;
    TLabel* AbALabel = nullptr;
    TLabel* AbBLabel = nullptr;
    TDateTimePicker* OdDatePicker = nullptr;
    TDateTimePicker* OdTimePicker = nullptr;
    TEdit* filtrAbAEdit = nullptr;
    TDateTimePicker* DoTimePicker = nullptr;
    TDateTimePicker* DoDatePicker = nullptr;
    TEdit* filtrAbBEdit = nullptr;
    TCheckBox* filtrujCheckBox = nullptr;
    TCheckBox* OdCheckBox = nullptr;
    TCheckBox* DoCheckBox = nullptr;
    TBitBtn* fultrujBitBtn = nullptr;
    TBitBtn* wszystkoBitBtn = nullptr;
    TImage* FiltrujImage = nullptr;
    TImage* WszystkoImage = nullptr;
    TImageList* ImageListBtn = nullptr;
    TComboBox* QuickComboBox = nullptr;
    TLabel* QuickLabel = nullptr;
    TCheckBox* ABookCheckBox = nullptr;
    TPanel* LegPanel1 = nullptr;
    TPanel* LegPanel2 = nullptr;
    TlxLangLinked* lxLangLinked1 = nullptr;
    TLabel* PhonebookLabel = nullptr;

    // Both bounds start switched off, their pickers disabled.
    explicit TFiltrFrame(TComponent* AOwner);

    // The bounds as 24 characters in the layout of the Files "Data" column:
    // "yyyy-mm-dd", six blanks, "hh:nn:ss", always with '-' and ':'.
    AnsiString GetDateFrom() const;
    AnsiString GetDateTo() const;
    // The number filter on the edit's text (see TextFilters.h).
    void StripForbiddenChars(TEdit* Edit);

    void fultrujBitBtnClick(TObject* Sender);
    void wszystkoBitBtnClick(TObject* Sender);
    void QuickComboBoxChange(TObject* Sender);
    void ABookCheckBoxClick(TObject* Sender);
    void OdCheckBoxClick(TObject* Sender);
    void DoCheckBoxClick(TObject* Sender);
    void OdDatePickerChange(TObject* Sender);
    void OdTimePickerChange(TObject* Sender);
    void DoDatePickerChange(TObject* Sender);
    void DoTimePickerChange(TObject* Sender);
    void filtrAbAEditChange(TObject* Sender);
    void filtrAbBEditChange(TObject* Sender);
    void filtrAbAEditKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
    void filtrAbBEditKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
    void FiltrujImageMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void FiltrujImageMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void WszystkoImageMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void WszystkoImageMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);

private:
    // The recordings list beside this frame, rebuilt for the criteria.
    void refreshList();
    // Picture Offset of the active language's four.
    void showButton(TImage* Image, int Offset);
};

// A bound as GetDateFrom gives it: the date of Date with the time of Time.
AnsiString FilterBoundText(TDateTime Date, TDateTime Time);

// The bounds of quick range Index (0 today ... 7 last year) at the moment
// Now: a lower bound at 00:00:00, an upper one at the end of its day
// (23:59:59.099) or Now itself. False for any other index.
bool QuickRangeBounds(int Index, TDateTime Now, TDateTime& From, TDateTime& To);
