// Date/time serials and picture formats as the Qt widgets take them.
#pragma once

#include "core/datetimeformats.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

#include <string>

class QDateTimeEdit;

// Local date/time; an invalid QDateTime for a serial that names no moment.
QDateTime serialToDateTime(double serial);
double dateTimeToSerial(const QDateTime& value);
// One part of a serial, as the date picker and the time picker hold them: the day (invalid for a serial that names
// no moment) and the time of day.
QDate serialToDate(double serial);
QTime serialToTime(double serial);
// A whole day number, and a fraction of a day.
double dateToSerial(const QDate& date);
double timeToSerial(const QTime& time);
// The pickers' notation: "tt" (the AM/PM marker) becomes Qt's "AP"; the other letters mean the same.
QString qtPickerFormat(const std::string& picture);
// Sets a picker's full value. A picker that shows a date refuses one outside its range with the range error, which
// writes the limit in `formats`, and keeps its value (Qt would clamp silently).
bool setPickerValue(QDateTimeEdit* picker, double serial, const DateTimeFormats& formats);
