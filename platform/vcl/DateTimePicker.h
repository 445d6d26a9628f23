#pragma once
// TDateTimePicker. DateTime is a TDateTime (days since 1899-12-30); a date
// picker edits its date part and keeps the time part, a time picker the
// other way round. Setting DateTime, Date or Time from code raises nothing;
// OnChange follows a change by the user (the value or the check box).
#include "rtl/DateTime.h"
#include "vcl/CommonTypes.h"
#include "vcl/Controls.h"

class TDateTimePicker : public TWinControl {
    YORDE_CLASS(TDateTimePicker, TWinControl)
public:
    explicit TDateTimePicker(TComponent* AOwner);

    TDateTime DateTime() const;
    void SetDateTime(TDateTime Value);
    // The date part (the time part is kept when set).
    TDateTime Date() const;
    void SetDate(TDateTime Value);
    // The time part (the date part is kept when set).
    TDateTime Time() const;
    void SetTime(TDateTime Value);
    TDateTimeKind Kind() const { return kind_; }
    void SetKind(TDateTimeKind Value);
    TDTDateFormat DateFormat() const { return dateFormat_; }
    void SetDateFormat(TDTDateFormat Value);
    TDTDateMode DateMode() const { return dateMode_; }
    void SetDateMode(TDTDateMode Value);
    // FormatDateTime letters; empty: the short or long date format, or the long time format.
    AnsiString Format() const { return format_; }
    void SetFormat(const AnsiString& Value);
    // The format the control shows.
    AnsiString EffectiveFormat() const;
    bool ShowCheckbox() const { return showCheckbox_; }
    void SetShowCheckbox(bool Value);
    bool Checked() const;
    void SetChecked(bool Value);
    // 0: no limit.
    TDateTime MinDate() const { return minDate_; }
    void SetMinDate(TDateTime Value);
    TDateTime MaxDate() const { return maxDate_; }
    void SetMaxDate(TDateTime Value);
    TDTCalAlignment CalAlignment() const { return calAlignment_; }
    void SetCalAlignment(TDTCalAlignment Value) { calAlignment_ = Value; }
    bool ParseInput() const { return parseInput_; }
    void SetParseInput(bool Value) { parseInput_ = Value; }

    TNotifyEvent OnChange;
    // Published for layouts; the calendar's opening and closing are not reported.
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

protected:
    friend class TCommonInput;
    virtual void Change();
    void InitPeer() override;
    // The user set the part the picker edits; the other part is kept.
    void UserChanged(TDateTime Value);
    void UserChecked(bool Checked);

private:
    void pushKind();

    TDateTime dateTime_ = 0;
    TDateTimeKind kind_ = dtkDate;
    TDTDateFormat dateFormat_ = dfShort;
    TDTDateMode dateMode_ = dmComboBox;
    AnsiString format_;
    bool showCheckbox_ = false;
    bool checked_ = true;
    TDateTime minDate_ = 0;
    TDateTime maxDate_ = 0;
    TDTCalAlignment calAlignment_ = dtaLeft;
    bool parseInput_ = false;
};

// The date of one value with the time of day of another.
TDateTime CombineDateTime(TDateTime DatePart, TDateTime TimePart);
