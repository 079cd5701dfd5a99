// The user's short date and long time formats from LC_TIME, in picture notation.
#include "platform/localeformats.h"

#include <langinfo.h>
#include <locale>

namespace {

std::string_view compositeExpansion(char conversion)
{
    switch (conversion) {
    case 'D':
        return "%m/%d/%y";
    case 'T':
        return "%H:%M:%S";
    case 'r':
        return "%I:%M:%S %p";
    case 'R':
        return "%H:%M";
    case 'F':
        return "%Y-%m-%d";
    default:
        return {};
    }
}

std::string expandComposites(std::string_view format)
{
    std::string result;
    for (std::size_t i = 0; i < format.size(); ++i) {
        const std::string_view expansion =
            format[i] == '%' && i + 1 < format.size() ? compositeExpansion(format[i + 1]) : std::string_view();
        if (!expansion.empty()) {
            result += expansion;
            ++i;
        } else {
            result += format[i];
            if (format[i] == '%' && i + 1 < format.size())
                result += format[++i]; // keeps `%%D` a percent sign and a letter
        }
    }
    return result;
}

// The picture of one conversion, padded or (with the `-` flag) not; empty when it has none.
std::string_view fieldPicture(char conversion, bool padded)
{
    switch (conversion) {
    case 'd':
        return padded ? "dd" : "d";
    case 'e':
        return "d";
    case 'm':
        return padded ? "MM" : "M";
    case 'Y':
        return "yyyy";
    case 'y':
        return "yy";
    case 'H':
        return padded ? "HH" : "H";
    case 'k':
        return "H";
    case 'I':
        return padded ? "hh" : "h";
    case 'l':
        return "h";
    case 'M':
        return padded ? "mm" : "m";
    case 'S':
        return padded ? "ss" : "s";
    case 'p':
        return "tt";
    case '%':
        return "%";
    default:
        return {};
    }
}

// Reads the conversion starting after a `%` at `i`, moving `i` to its last character; empty when unsupported.
std::string_view conversionAt(std::string_view format, std::size_t& i)
{
    bool padded = true;
    if (i + 1 < format.size() && format[i + 1] == '-') {
        padded = false;
        ++i;
    }
    if (i + 1 < format.size() && (format[i + 1] == 'E' || format[i + 1] == 'O'))
        ++i;
    if (i + 1 >= format.size())
        return {};
    return fieldPicture(format[++i], padded);
}

const char* langInfo(nl_item item)
{
    const char* text = nl_langinfo(item);
    return text ? text : "";
}

} // namespace

std::optional<std::string> pictureFromStrftime(std::string_view format)
{
    const std::string expanded = expandComposites(format);
    if (expanded.empty())
        return std::nullopt;
    std::string picture;
    for (std::size_t i = 0; i < expanded.size(); ++i) {
        if (expanded[i] == '%') {
            const std::string_view field = conversionAt(expanded, i);
            if (field.empty())
                return std::nullopt;
            picture += field;
        } else if (std::isalpha(expanded[i], std::locale::classic())) {
            return std::nullopt;
        } else {
            picture += expanded[i];
        }
    }
    return picture;
}

std::string shortDatePicture(std::string_view dateFormat)
{
    return pictureFromStrftime(dateFormat).value_or("MM/dd/yyyy");
}

std::string longTimePicture(std::string_view timeFormat, std::string_view amPmTimeFormat)
{
    return pictureFromStrftime(timeFormat.empty() ? amPmTimeFormat : timeFormat).value_or("HH:mm:ss");
}

std::string localeShortDateFormat()
{
    return shortDatePicture(langInfo(D_FMT));
}

std::string localeLongTimeFormat()
{
    return longTimePicture(langInfo(T_FMT), langInfo(T_FMT_AMPM));
}
