#include "vcl/DateTimePicker.h"

#include "rtl/FormatSettings.h"
#include "vcl/CommonPeers.h"

#include <cmath>

YORDE_IMPLEMENT_CLASS(TDateTimePicker, [](TClassBuilder<TDateTimePicker>& c) {
    PublishControl(c, pcStandard | pcFocus | pcKeyEvents);
    c.Property("CalAlignment", &TDateTimePicker::CalAlignment, &TDateTimePicker::SetCalAlignment).Default(dtaLeft);
    c.Property("Date", &TDateTimePicker::Date, &TDateTimePicker::SetDate);
    c.Property("Format", &TDateTimePicker::Format, &TDateTimePicker::SetFormat);
    c.Property("Time", &TDateTimePicker::Time, &TDateTimePicker::SetTime);
    c.Property("ShowCheckbox", &TDateTimePicker::ShowCheckbox, &TDateTimePicker::SetShowCheckbox).Default(0);
    c.Property("Checked", &TDateTimePicker::Checked, &TDateTimePicker::SetChecked).Default(1);
    c.Property("DateFormat", &TDateTimePicker::DateFormat, &TDateTimePicker::SetDateFormat).Default(dfShort);
    c.Property("DateMode", &TDateTimePicker::DateMode, &TDateTimePicker::SetDateMode).Default(dmComboBox);
    c.Property("Kind", &TDateTimePicker::Kind, &TDateTimePicker::SetKind).Default(dtkDate);
    c.Property("MaxDate", &TDateTimePicker::MaxDate, &TDateTimePicker::SetMaxDate);
    c.Property("MinDate", &TDateTimePicker::MinDate, &TDateTimePicker::SetMinDate);
    c.Property("ParseInput", &TDateTimePicker::ParseInput, &TDateTimePicker::SetParseInput).Default(0);
    c.Event("OnChange", &TDateTimePicker::OnChange);
    c.Event("OnCloseUp", &TDateTimePicker::OnCloseUp);
    c.Event("OnDropDown", &TDateTimePicker::OnDropDown);
})

TDateTime CombineDateTime(TDateTime DatePart, TDateTime TimePart) {
    double date = std::trunc(DatePart);
    double time = std::fabs(TimePart - std::trunc(TimePart));
    // Before 1899-12-30 the whole part counts back and the fraction still adds time.
    return date < 0 ? date - time : date + time;
}

TDateTimePicker::TDateTimePicker(TComponent* AOwner) : TWinControl(AOwner) {
    controlStyle_ = TControlStyle{csCaptureMouse, csSetCaption, csDoubleClicks, csFixedHeight, csClickEvents};
    StoreBounds(0, 0, 186, 21);
    SetTabStop(true);
    SetColor(clWindow);
    dateTime_ = Now();
}

TDateTime TDateTimePicker::DateTime() const {
    return ReadOnMain([this] { return dateTime_; });
}

void TDateTimePicker::SetDateTime(TDateTime Value) {
    if (QueueOffMain(Life(), [this, Value] { SetDateTime(Value); })) return;
    dateTime_ = Value;
    if (auto* p = PeerAs<IDateTimePickerPeer>()) p->SetDateTime(dateTime_);
}

TDateTime TDateTimePicker::Date() const { return std::trunc(DateTime()); }

void TDateTimePicker::SetDate(TDateTime Value) {
    if (QueueOffMain(Life(), [this, Value] { SetDate(Value); })) return;
    SetDateTime(CombineDateTime(Value, dateTime_));
}

TDateTime TDateTimePicker::Time() const {
    TDateTime v = DateTime();
    return std::fabs(v - std::trunc(v));
}

void TDateTimePicker::SetTime(TDateTime Value) {
    if (QueueOffMain(Life(), [this, Value] { SetTime(Value); })) return;
    SetDateTime(CombineDateTime(dateTime_, Value));
}

bool TDateTimePicker::Checked() const {
    return ReadOnMain([this] { return checked_; });
}

void TDateTimePicker::SetChecked(bool Value) {
    if (QueueOffMain(Life(), [this, Value] { SetChecked(Value); })) return;
    checked_ = Value;
    if (auto* p = PeerAs<IDateTimePickerPeer>()) p->SetCheckbox(showCheckbox_, checked_);
}

void TDateTimePicker::SetShowCheckbox(bool Value) {
    if (QueueOffMain(Life(), [this, Value] { SetShowCheckbox(Value); })) return;
    showCheckbox_ = Value;
    if (auto* p = PeerAs<IDateTimePickerPeer>()) p->SetCheckbox(showCheckbox_, checked_);
}

void TDateTimePicker::SetKind(TDateTimeKind Value) {
    if (QueueOffMain(Life(), [this, Value] { SetKind(Value); })) return;
    kind_ = Value;
    pushKind();
}

void TDateTimePicker::SetDateFormat(TDTDateFormat Value) {
    if (QueueOffMain(Life(), [this, Value] { SetDateFormat(Value); })) return;
    dateFormat_ = Value;
    pushKind();
}

void TDateTimePicker::SetDateMode(TDTDateMode Value) {
    if (QueueOffMain(Life(), [this, Value] { SetDateMode(Value); })) return;
    dateMode_ = Value;
    pushKind();
}

void TDateTimePicker::SetFormat(const AnsiString& Value) {
    if (QueueOffMain(Life(), [this, Value] { SetFormat(Value); })) return;
    format_ = Value;
    pushKind();
}

AnsiString TDateTimePicker::EffectiveFormat() const {
    if (!format_.empty()) return format_;
    const TFormatSettings& fs = FormatSettings();
    if (kind_ == dtkTime) return fs.LongTimeFormat;
    return dateFormat_ == dfLong ? fs.LongDateFormat : fs.ShortDateFormat;
}

void TDateTimePicker::SetMinDate(TDateTime Value) {
    if (QueueOffMain(Life(), [this, Value] { SetMinDate(Value); })) return;
    minDate_ = Value;
    if (auto* p = PeerAs<IDateTimePickerPeer>()) p->SetRange(minDate_, maxDate_);
}

void TDateTimePicker::SetMaxDate(TDateTime Value) {
    if (QueueOffMain(Life(), [this, Value] { SetMaxDate(Value); })) return;
    maxDate_ = Value;
    if (auto* p = PeerAs<IDateTimePickerPeer>()) p->SetRange(minDate_, maxDate_);
}

void TDateTimePicker::Change() { OnChange(this); }

void TDateTimePicker::UserChanged(TDateTime Value) {
    TDateTime next = kind_ == dtkDate ? CombineDateTime(Value, dateTime_) : CombineDateTime(dateTime_, Value);
    if (next == dateTime_) return;
    dateTime_ = next;
    Change();
}

void TDateTimePicker::UserChecked(bool Checked) {
    if (Checked == checked_) return;
    checked_ = Checked;
    Change();
}

void TDateTimePicker::pushKind() {
    if (auto* p = PeerAs<IDateTimePickerPeer>()) p->SetKind(kind_, EffectiveFormat(), dateMode_);
}

void TDateTimePicker::InitPeer() {
    TWinControl::InitPeer();
    if (auto* p = PeerAs<IDateTimePickerPeer>()) {
        pushKind();
        p->SetRange(minDate_, maxDate_);
        p->SetDateTime(dateTime_);
        p->SetCheckbox(showCheckbox_, checked_);
    }
}
