// The recorded date of an MP4, MOV, M4V or 3GP video, read from its movie boxes.
#include "media/moviedatereader.h"

#include "media/exifdate.h"
#include "platform/filetime.h"

#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr std::string_view kCreationDateKey = "com.apple.quicktime.creationdate";
// No key list or date text of a real file comes near these; larger ones are damaged lengths.
constexpr std::uint64_t kLargestKeyList = 1 << 20;
constexpr std::size_t kLargestDateText = 64;
// Seconds from 1904-01-01, where movie times count from, to 1970-01-01.
constexpr std::int64_t kMovieEpochBeforeUnix = 2'082'844'800;

std::uint64_t bigEndian(const std::uint8_t* bytes, std::size_t count)
{
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < count; ++i)
        value = value << 8 | bytes[i];
    return value;
}

// A box's contents: from just past its header to its end.
struct Box
{
    std::uint64_t start = 0;
    std::uint64_t end = 0;
    std::array<char, 4> type{};
};

// The box whose header starts at `at`, when it fits before `end`.
std::optional<Box> boxAt(BoundedFile& file, std::uint64_t at, std::uint64_t end)
{
    std::uint8_t header[16];
    if (end - at < 8 || file.readAt(at, header, 8) != 8)
        return std::nullopt;
    Box box;
    std::memcpy(box.type.data(), header + 4, 4);
    std::uint64_t size = bigEndian(header, 4);
    box.start = at + 8;
    if (size == 1) {
        if (end - at < 16 || file.readAt(at + 8, header + 8, 8) != 8)
            return std::nullopt;
        size = bigEndian(header + 8, 8);
        box.start = at + 16;
    } else if (size == 0) {
        size = end - at; // the rest of its parent
    }
    if (size < box.start - at || size > end - at)
        return std::nullopt;
    box.end = at + size;
    return box;
}

// The first child of type `type` among the boxes from `start` to `end`.
std::optional<Box> findBox(BoundedFile& file, std::uint64_t start, std::uint64_t end, std::string_view type)
{
    for (std::uint64_t at = start; at < end;) {
        const std::optional<Box> box = boxAt(file, at, end);
        if (!box)
            return std::nullopt;
        if (std::string_view(box->type.data(), 4) == type)
            return box;
        at = box->end;
    }
    return std::nullopt;
}

std::vector<std::uint8_t> contents(BoundedFile& file, const Box& box)
{
    std::vector<std::uint8_t> bytes(box.end - box.start);
    bytes.resize(file.readAt(box.start, bytes.data(), bytes.size()));
    return bytes;
}

// The 1-based index of the creation date among the `keys` box's keys; 0 when it is not there.
std::uint32_t creationDateKeyIndex(BoundedFile& file, const Box& keys)
{
    if (keys.end - keys.start > kLargestKeyList)
        return 0;
    const std::vector<std::uint8_t> bytes = contents(file, keys);
    constexpr std::size_t kEntriesStart = 8; // after the version, flags and entry count
    constexpr std::size_t kEntryHeader = 8;  // the entry's size and namespace
    std::uint32_t index = 1;
    for (std::size_t at = kEntriesStart; at < bytes.size() && bytes.size() - at >= kEntryHeader; ++index) {
        const std::uint64_t size = bigEndian(bytes.data() + at, 4);
        if (size < kEntryHeader || size > bytes.size() - at)
            return 0;
        const std::string_view name(reinterpret_cast<const char*>(bytes.data() + at + kEntryHeader),
                                    size - kEntryHeader);
        if (name == kCreationDateKey)
            return index;
        at += size;
    }
    return 0;
}

// The text of the `ilst` item for key `index`: its `data` box after the type and locale.
std::optional<std::string> itemText(BoundedFile& file, const Box& items, std::uint32_t index)
{
    for (std::uint64_t at = items.start; at < items.end;) {
        const std::optional<Box> item = boxAt(file, at, items.end);
        if (!item)
            return std::nullopt;
        if (bigEndian(reinterpret_cast<const std::uint8_t*>(item->type.data()), 4) == index) {
            const std::optional<Box> data = findBox(file, item->start, item->end, "data");
            constexpr std::uint64_t kTypeAndLocale = 8;
            if (!data || data->end - data->start < kTypeAndLocale ||
                data->end - data->start - kTypeAndLocale > kLargestDateText)
                return std::nullopt;
            std::string text(data->end - data->start - kTypeAndLocale, '\0');
            text.resize(file.readAt(data->start + kTypeAndLocale, text.data(), text.size()));
            return text;
        }
        at = item->end;
    }
    return std::nullopt;
}

// The QuickTime metadata: the keys, and the items holding their values.
std::optional<FileTime> quickTimeCreationDate(BoundedFile& file, const Box& movie)
{
    // Phones keep it in the movie's own `meta`; some writers in the user data's.
    std::optional<Box> meta = findBox(file, movie.start, movie.end, "meta");
    if (const std::optional<Box> userData = meta ? std::nullopt : findBox(file, movie.start, movie.end, "udta"))
        meta = findBox(file, userData->start, userData->end, "meta");
    if (!meta)
        return std::nullopt;
    // QuickTime's `meta` holds its children at once; the ISO form starts with a version and flags.
    std::uint8_t probe[8];
    if (meta->end - meta->start >= 8 && file.readAt(meta->start, probe, 8) == 8 &&
        std::memcmp(probe + 4, "hdlr", 4) != 0)
        meta->start += 4;
    const std::optional<Box> keys = findBox(file, meta->start, meta->end, "keys");
    const std::optional<Box> items = findBox(file, meta->start, meta->end, "ilst");
    const std::uint32_t index = keys && items ? creationDateKeyIndex(file, *keys) : 0;
    if (index == 0)
        return std::nullopt;
    const std::optional<std::string> text = itemText(file, *items, index);
    return text ? isoDateToFileTime(*text) : std::nullopt;
}

std::optional<FileTime> movieHeaderCreationTime(BoundedFile& file, const Box& movie)
{
    const std::optional<Box> header = findBox(file, movie.start, movie.end, "mvhd");
    std::uint8_t bytes[12];
    if (!header || header->end - header->start < sizeof bytes ||
        file.readAt(header->start, bytes, sizeof bytes) != sizeof bytes)
        return std::nullopt;
    // Version 1 counts in 64 bits, version 0 in 32, after the version and flags.
    const std::uint64_t seconds = bytes[0] == 1 ? bigEndian(bytes + 4, 8) : bigEndian(bytes + 4, 4);
    constexpr std::uint64_t kBeyondAnyDate = std::uint64_t{1} << 40; // tens of thousands of years
    if (seconds == 0 || seconds > kBeyondAnyDate)
        return std::nullopt;
    const FileTime utc = (static_cast<FileTime>(seconds) + kUnixEpochInFileTimeSeconds - kMovieEpochBeforeUnix) *
                         kFileTimeUnitsPerSecond;
    // Only a moment the calendar can show is a date.
    CalendarTime fields;
    return fileTimeToUtc(utc, fields) ? std::optional(utc) : std::nullopt;
}

// The offset of an ISO 8601 time as EXIF writes it ("+HH:MM"); empty for none, nothing for a malformed one.
std::optional<std::string> exifOffset(std::string_view zone)
{
    if (zone.empty())
        return std::string();
    if (zone == "Z")
        return std::string("+00:00");
    const std::string_view sign = zone.substr(0, 1);
    const std::string_view rest = zone.substr(1);
    if (sign != "+" && sign != "-")
        return std::nullopt;
    if (rest.size() == 2)
        return std::string(sign) + std::string(rest) + ":00";
    if (rest.size() == 4)
        return std::string(sign) + std::string(rest.substr(0, 2)) + ":" + std::string(rest.substr(2));
    if (rest.size() == 5)
        return std::string(zone);
    return std::nullopt;
}

} // namespace

std::optional<FileTime> isoDateToFileTime(std::string_view text)
{
    constexpr std::size_t kDateTimeLength = 19; // "YYYY-MM-DDTHH:MM:SS"
    if (text.size() < kDateTimeLength || text[4] != '-' || text[7] != '-' || text[10] != 'T')
        return std::nullopt;
    std::string date(text.substr(0, kDateTimeLength));
    date[4] = date[7] = ':';
    date[10] = ' ';
    std::string_view rest = text.substr(kDateTimeLength);
    std::string_view fraction;
    if (!rest.empty() && rest[0] == '.') {
        const std::size_t digits = std::min(rest.find_first_not_of("0123456789", 1), rest.size());
        fraction = rest.substr(1, digits - 1);
        rest = rest.substr(digits);
        if (fraction.empty())
            return std::nullopt;
    }
    const std::optional<std::string> offset = exifOffset(rest);
    if (!offset)
        return std::nullopt;
    return exifDateToFileTime(date, fraction, *offset);
}

std::optional<FileTime> movieRecordedDate(BoundedFile& file)
{
    const std::optional<Box> movie = findBox(file, 0, file.size(), "moov");
    if (!movie)
        return std::nullopt;
    if (const std::optional<FileTime> local = quickTimeCreationDate(file, *movie))
        return local;
    return movieHeaderCreationTime(file, *movie);
}
