// Date/time serials and picture formats as the Qt widgets take them.
#include "window/qtdatetime.h"

#include "core/datetime.h"
#include "core/tfuncs2.h"
#include "platform/messagebox.h"

#include <QDateTimeEdit>
#include <QGuiApplication>

QDateTime SerialToDateTime(double serial)
{
    CalendarTime t;
    if (!SerialToCalendar(serial, t))
        return {};
    return QDateTime(QDate(t.year, t.month, t.day), QTime(t.hour, t.minute, t.second, t.millisecond));
}

double DateTimeToSerial(const QDateTime& value)
{
    const QDate date = value.date();
    const QTime time = value.time();
    const CalendarTime t{date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second(), time.msec()};
    double serial = kNoDateTime;
    CalendarToSerial(t, serial);
    return serial;
}

QString QtPickerFormat(const std::string& picture)
{
    return QString::fromStdString(picture).replace(QLatin1String("tt"), QLatin1String("AP"));
}

namespace {

void ShowRangeError(const char* format, QDate limit)
{
    const std::string text = format + DateToText(DateTimeToSerial(limit.startOfDay()));
    ShowMessageBox(
        {QGuiApplication::applicationDisplayName().toStdString(), text, MessageIcon::Error, MessageButtons::Ok});
}

} // namespace

bool SetPickerValue(QDateTimeEdit* picker, double serial)
{
    const QDateTime value = SerialToDateTime(serial);
    if (picker->displayedSections() & QDateTimeEdit::DateSections_Mask) {
        if (!value.isValid() || value.date() < picker->minimumDate()) {
            ShowRangeError("Date is less than minimum of ", picker->minimumDate());
            return false;
        }
        if (value.date() > picker->maximumDate()) {
            ShowRangeError("Date exceeds maximum of ", picker->maximumDate());
            return false;
        }
    }
    if (!value.isValid())
        return false;
    picker->setDateTime(value);
    return true;
}
