// Date/time serials and picture formats as the Qt widgets take them.
#include "window/qtdatetime.h"

#include "core/datetime.h"

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
