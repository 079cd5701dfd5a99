// Date/time serials and picture formats as the Qt widgets take them.
#include "winutil/qtdatetime.h"

#include "core/datetime.h"
#include "core/errorbox.h"

#include <QDateTimeEdit>

namespace {

constexpr double kMsPerDay = 24.0 * 60 * 60 * 1000;

// False for a serial that names no moment; the parts are then left as they were.
bool calendarParts(double serial, QDate& date, QTime& time)
{
    CalendarTime t;
    if (!serialToCalendar(serial, t))
        return false;
    date = QDate(t.year, t.month, t.day);
    time = QTime(t.hour, t.minute, t.second, t.millisecond);
    return true;
}

double calendarSerial(const QDate& date, const QTime& time)
{
    const CalendarTime t{date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second(), time.msec()};
    double serial = kNoDateTime;
    calendarToSerial(t, serial);
    return serial;
}

void showRangeError(const DateTimeFormats& formats, const char* format, QDate limit)
{
    showErrorBox(format + dateToText(formats, dateToSerial(limit)));
}

} // namespace

QDateTime serialToDateTime(double serial)
{
    QDate date;
    QTime time;
    if (!calendarParts(serial, date, time))
        return {};
    return QDateTime(date, time);
}

double dateTimeToSerial(const QDateTime& value)
{
    return calendarSerial(value.date(), value.time());
}

QDate serialToDate(double serial)
{
    QDate date;
    QTime time;
    calendarParts(serial, date, time);
    return date;
}

QTime serialToTime(double serial)
{
    QDate date;
    QTime time;
    calendarParts(serial, date, time);
    return time;
}

double dateToSerial(const QDate& date)
{
    return calendarSerial(date, QTime(0, 0));
}

double timeToSerial(const QTime& time)
{
    return time.msecsSinceStartOfDay() / kMsPerDay;
}

QString qtPickerFormat(const std::string& picture)
{
    return QString::fromStdString(picture).replace(QLatin1String("tt"), QLatin1String("AP"));
}

bool setPickerValue(QDateTimeEdit* picker, double serial, const DateTimeFormats& formats)
{
    const QDateTime value = serialToDateTime(serial);
    if (picker->displayedSections() & QDateTimeEdit::DateSections_Mask) {
        if (!value.isValid() || value.date() < picker->minimumDate()) {
            showRangeError(formats, "Date is less than minimum of ", picker->minimumDate());
            return false;
        }
        if (value.date() > picker->maximumDate()) {
            showRangeError(formats, "Date exceeds maximum of ", picker->maximumDate());
            return false;
        }
    }
    if (!value.isValid())
        return false;
    picker->setDateTime(value);
    return true;
}
