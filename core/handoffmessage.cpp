// What a later start of Stampkeep hands to the running one: its parsed record, its working folder, every
// specification it accepted, byte for byte, and the options beside the record, framed for the local connection.
#include "core/handoffmessage.h"

#include <cstdint>
#include <cstring>

namespace {

void appendLength(std::string& out, std::size_t length)
{
    for (std::size_t i = 0; i < kHandOffLengthSize; ++i)
        out += static_cast<char>((length >> (8 * i)) & 0xFF);
}

void appendText(std::string& out, std::string_view text)
{
    appendLength(out, text.size());
    out += text;
}

// Takes what the body holds from its front, in the order it was written.
class BodyReader
{
public:
    explicit BodyReader(std::string_view body) : rest_(body) {}

    std::optional<std::size_t> length()
    {
        if (rest_.size() < kHandOffLengthSize)
            return std::nullopt;
        std::size_t value = 0;
        for (std::size_t i = kHandOffLengthSize; i-- > 0;)
            value = value << 8 | static_cast<unsigned char>(rest_[i]);
        rest_.remove_prefix(kHandOffLengthSize);
        return value;
    }
    std::optional<std::string_view> bytes(std::size_t count)
    {
        if (rest_.size() < count)
            return std::nullopt;
        const std::string_view taken = rest_.substr(0, count);
        rest_.remove_prefix(count);
        return taken;
    }
    std::optional<std::string> text()
    {
        const std::optional<std::size_t> size = length();
        const std::optional<std::string_view> taken = size ? bytes(*size) : std::nullopt;
        return taken ? std::optional<std::string>(*taken) : std::nullopt;
    }
    bool done() const { return rest_.empty(); }

private:
    std::string_view rest_;
};

} // namespace

std::string encodeHandOff(const HandOffMessage& message)
{
    std::string body(reinterpret_cast<const char*>(&message.record), sizeof message.record);
    appendText(body, message.workingFolder);
    appendLength(body, message.specs.size());
    for (const std::string& spec : message.specs)
        appendText(body, spec);
    body += static_cast<char>(message.subfolders);
    std::string frame;
    frame.reserve(kHandOffLengthSize + body.size());
    appendLength(frame, body.size());
    frame += body;
    return frame;
}

std::optional<std::size_t> handOffBodyLength(std::string_view frameStart)
{
    return BodyReader(frameStart).length();
}

std::optional<HandOffMessage> decodeHandOffBody(std::string_view body)
{
    BodyReader reader(body);
    HandOffMessage message;
    const std::optional<std::string_view> record = reader.bytes(sizeof message.record);
    std::optional<std::string> folder = record ? reader.text() : std::nullopt;
    const std::optional<std::size_t> count = folder ? reader.length() : std::nullopt;
    // Each specification takes at least its length: a count beyond that is a damaged body, not a reason to reserve.
    if (!count || *count > body.size() / kHandOffLengthSize)
        return std::nullopt;
    std::memcpy(&message.record, record->data(), sizeof message.record);
    message.workingFolder = std::move(*folder);
    message.specs.reserve(*count);
    for (std::size_t i = 0; i < *count; ++i) {
        std::optional<std::string> spec = reader.text();
        if (!spec)
            return std::nullopt;
        message.specs.push_back(std::move(*spec));
    }
    const std::optional<std::string_view> subfolders = reader.bytes(1);
    if (!subfolders || static_cast<unsigned char>((*subfolders)[0]) > 1 || !reader.done())
        return std::nullopt;
    message.subfolders = (*subfolders)[0] == 1;
    return message;
}
