// The date-time picker's peer: a date or time editor showing the component's
// format, with a check box in front when ShowCheckbox is on. Only the user's
// changes are reported (the component's values are set with signals blocked).
#include "qt/QtCommonPeers.h"
#include "qt/QtPeer.h"

#include "rtl/DateTime.h"
#include "rtl/FormatSettings.h"
#include "vcl/CommonInput.h"
#include "vcl/CommonPeers.h"
#include "vcl/DateTimePicker.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QSignalBlocker>

#include <cctype>
#include <cmath>

namespace yorde::qt {

namespace {

const QDate kEpoch(1899, 12, 30);

QDate toQDate(double Value) { return kEpoch.addDays(qint64(std::trunc(Value))); }

QTime toQTime(double Value) {
    double frac = std::fabs(Value - std::trunc(Value));
    int ms = int(std::llround(frac * MSecsPerDay));
    return QTime::fromMSecsSinceStartOfDay(std::min(ms, 86399999));
}

// FormatDateTime letters to Qt's display format.
QString toQtFormat(const AnsiString& Format) {
    const TFormatSettings& fs = FormatSettings();
    QString out;
    bool afterHour = false;
    size_t i = 0;
    auto run = [&](char c) {
        size_t n = 0;
        while (i + n < Format.size() && std::tolower((unsigned char)Format[i + n]) == c) ++n;
        return n;
    };
    while (i < Format.size()) {
        char c = Format[i];
        char lc = char(std::tolower((unsigned char)c));
        if (c == '"' || c == '\'') {
            size_t end = Format.find(c, i + 1);
            if (end == AnsiString::npos) end = Format.size();
            QString lit = QString::fromStdString(AnsiToUtf8(Format.substr(i + 1, end - i - 1)));
            out += "'" + lit.replace("'", "''") + "'";
            i = end + 1;
            continue;
        }
        if (lc == 'a' && (Format.compare(i, 5, "am/pm") == 0 || Format.compare(i, 5, "AM/PM") == 0)) {
            out += "AP";
            i += 5;
            continue;
        }
        if (lc == 'a' && (Format.compare(i, 3, "a/p") == 0 || Format.compare(i, 3, "A/P") == 0)) {
            out += "ap";
            i += 3;
            continue;
        }
        size_t n = std::max<size_t>(1, run(lc));
        switch (lc) {
        case 'y':
            out += n <= 2 ? "yy" : "yyyy";
            afterHour = false;
            break;
        case 'm':
            if (afterHour && n <= 2)
                out += n == 1 ? "m" : "mm";
            else
                out += QString(int(std::min<size_t>(n, 4)), 'M');
            afterHour = false;
            break;
        case 'd':
            if (n >= 5)
                out += toQtFormat(n == 5 ? fs.ShortDateFormat : fs.LongDateFormat);
            else
                out += QString(int(n), 'd');
            afterHour = false;
            break;
        case 'h':
            out += n == 1 ? "h" : "hh";
            afterHour = true;
            break;
        case 'n':
            out += n == 1 ? "m" : "mm";
            afterHour = false;
            break;
        case 's':
            out += n == 1 ? "s" : "ss";
            afterHour = false;
            break;
        case 'z':
            out += n >= 3 ? "zzz" : "z";
            afterHour = false;
            break;
        case '/':
            out += QChar(fs.DateSeparator ? fs.DateSeparator : '/');
            n = 1;
            break;
        case ':':
            out += QChar(fs.TimeSeparator ? fs.TimeSeparator : ':');
            n = 1;
            break;
        default:
            if (std::isalpha((unsigned char)c))
                out += "'" + QString(QChar(c)) + "'";
            else
                out += QChar(c);
            n = 1;
            break;
        }
        i += n;
    }
    return out;
}

class DateTimeWidget : public PeerWidget<QDateTimeEdit> {
public:
    explicit DateTimeWidget(QWidget* Parent) : PeerWidget<QDateTimeEdit>(Parent) {}
    // Room in front of the text for the check box.
    void setTextIndent(int Px) { lineEdit()->setTextMargins(Px, 0, 0, 0); }
};

class QtDateTimePickerPeer : public QtPeer<IDateTimePickerPeer, DateTimeWidget> {
public:
    QtDateTimePickerPeer(TControl* C, QWidget* Parent) : QtPeer(C, new DateTimeWidget(Parent)) {
        DateTimeWidget* d = w();
        d->setFocusPolicy(Qt::StrongFocus);
        d->setTimeSpec(Qt::LocalTime);
        d->setMinimumDateTime(QDateTime(QDate(100, 1, 1), QTime(0, 0)));
        check_ = new QCheckBox(d);
        check_->hide();
        QObject::connect(d, &QDateTimeEdit::dateTimeChanged, d, [d](const QDateTime& v) {
            if (auto* p = dynamic_cast<QtDateTimePickerPeer*>(d->peer)) p->userChanged(v);
        });
        QCheckBox* box = check_;
        QObject::connect(box, &QCheckBox::toggled, d, [d](bool on) {
            if (d->peer) TCommonInput::DateTimeChecked(static_cast<TDateTimePicker*>(d->peer->Control()), on);
        });
    }

    void SetColor(TColor Color, bool /*ParentBackground*/) override { paintBackground(Color, QPalette::Base); }
    void SetBounds(int Left, int Top, int Width, int Height) override {
        QtPeer::SetBounds(Left, Top, Width, Height);
        placeCheck();
    }
    void SetKind(TDateTimeKind Kind, const AnsiString& Format, TDTDateMode Mode) override {
        if (!w()) return;
        QSignalBlocker block(w());
        kind_ = Kind;
        w()->setDisplayFormat(toQtFormat(Format));
        w()->setCalendarPopup(Kind == dtkDate && Mode == dmComboBox);
    }
    void SetDateTime(double DateTime) override {
        if (!w()) return;
        QSignalBlocker block(w());
        w()->setDateTime(QDateTime(toQDate(DateTime), toQTime(DateTime)));
    }
    void SetRange(double MinDate, double MaxDate) override {
        if (!w()) return;
        QSignalBlocker block(w());
        QDate lo = MinDate != 0 ? toQDate(MinDate) : QDate(100, 1, 1);
        QDate hi = MaxDate != 0 ? toQDate(MaxDate) : QDate(9999, 12, 31);
        w()->setDateRange(lo, hi);
    }
    void SetCheckbox(bool ShowCheckbox, bool Checked) override {
        if (!w()) return;
        QSignalBlocker block(check_);
        check_->setChecked(Checked);
        check_->setVisible(ShowCheckbox);
        w()->setTextIndent(ShowCheckbox ? check_->sizeHint().width() + 2 : 0);
        placeCheck();
    }

private:
    void placeCheck() {
        if (!w() || !check_) return;
        QSize s = check_->sizeHint();
        check_->setGeometry(3, (w()->height() - s.height()) / 2, s.width(), s.height());
    }

    void userChanged(const QDateTime& Value) {
        double days = double(kEpoch.daysTo(Value.date()));
        double time = Value.time().msecsSinceStartOfDay() / MSecsPerDay;
        // The component keeps the part this picker does not edit.
        double v = kind_ == dtkDate ? days : time;
        TCommonInput::DateTimeChanged(static_cast<TDateTimePicker*>(control_), v);
    }

    QPointer<QCheckBox> check_;
    TDateTimeKind kind_ = dtkDate;
};

}  // namespace

std::unique_ptr<IControlPeer> MakeDateTimePickerPeer(TControl* Control, QWidget* Parent) {
    return std::make_unique<QtDateTimePickerPeer>(Control, Parent);
}

}  // namespace yorde::qt
