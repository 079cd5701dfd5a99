// Date/time serials and picture formats as the Qt widgets take them.
#pragma once

#include <QDateTime>
#include <QString>

#include <string>

// Local date/time; an invalid QDateTime for a serial that names no moment.
QDateTime SerialToDateTime(double serial);
double DateTimeToSerial(const QDateTime& value);
// The pickers' notation: "tt" (the AM/PM marker) becomes Qt's "AP"; the other letters mean the same.
QString QtPickerFormat(const std::string& picture);
