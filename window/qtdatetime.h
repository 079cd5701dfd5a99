// Date/time serials and picture formats as the Qt widgets take them.
#pragma once

#include <QDateTime>
#include <QString>

#include <string>

class QDateTimeEdit;

// Local date/time; an invalid QDateTime for a serial that names no moment.
QDateTime SerialToDateTime(double serial);
double DateTimeToSerial(const QDateTime& value);
// The pickers' notation: "tt" (the AM/PM marker) becomes Qt's "AP"; the other letters mean the same.
QString QtPickerFormat(const std::string& picture);
// Sets a picker's full value. A picker that shows a date refuses one outside its range with the range error and
// keeps its value (Qt would clamp silently).
bool SetPickerValue(QDateTimeEdit* picker, double serial);
