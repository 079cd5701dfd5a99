// The recorded date of a JPEG XL file from its Exif box, read with libjxl.
#include "media/jxldatereader.h"

#include "media/exiftags.h"

#include <cstring>
#include <jxl/decode.h>
#include <memory>
#include <vector>

namespace {

constexpr std::size_t kChunkSize = 64 * 1024;

using Decoder = std::unique_ptr<JxlDecoder, decltype(&JxlDecoderDestroy)>;

// The file handed to the decoder a chunk at a time, keeping what it has not consumed yet.
class InputFeed
{
public:
    explicit InputFeed(BoundedFile& file) : file_(file) {}

    // False once the whole file has been handed over.
    bool feed(JxlDecoder* decoder)
    {
        const std::size_t unconsumed = JxlDecoderReleaseInput(decoder);
        if (unconsumed > 0)
            std::memmove(bytes_.data(), bytes_.data() + bytes_.size() - unconsumed, unconsumed);
        bytes_.resize(unconsumed + kChunkSize);
        const std::size_t got = file_.readAt(offset_, bytes_.data() + unconsumed, kChunkSize);
        offset_ += got;
        bytes_.resize(unconsumed + got);
        JxlDecoderSetInput(decoder, bytes_.data(), bytes_.size());
        return got > 0;
    }

private:
    BoundedFile& file_;
    std::uint64_t offset_ = 0;
    std::vector<std::uint8_t> bytes_;
};

// The Exif box's contents as the decoder writes them, grown as it asks.
class ExifBox
{
public:
    bool started() const { return !bytes_.empty(); }

    void start(JxlDecoder* decoder)
    {
        bytes_.resize(kChunkSize);
        JxlDecoderSetBoxBuffer(decoder, bytes_.data(), bytes_.size());
    }

    // False when the box outgrows what any Exif block holds.
    bool grow(JxlDecoder* decoder)
    {
        const std::size_t written = bytes_.size() - JxlDecoderReleaseBoxBuffer(decoder);
        if (bytes_.size() * 2 > BoundedFile::kReadLimit)
            return false;
        bytes_.resize(bytes_.size() * 2);
        JxlDecoderSetBoxBuffer(decoder, bytes_.data() + written, bytes_.size() - written);
        return true;
    }

    std::optional<FileTime> finish(JxlDecoder* decoder)
    {
        bytes_.resize(bytes_.size() - JxlDecoderReleaseBoxBuffer(decoder));
        return recordedDateOfExifBlock(bytes_.data(), bytes_.size());
    }

private:
    std::vector<std::uint8_t> bytes_;
};

bool isExifBox(JxlDecoder* decoder)
{
    JxlBoxType type;
    return JxlDecoderGetBoxType(decoder, type, JXL_TRUE) == JXL_DEC_SUCCESS && std::memcmp(type, "Exif", 4) == 0;
}

} // namespace

std::optional<FileTime> jxlRecordedDate(BoundedFile& file)
{
    const Decoder decoder(JxlDecoderCreate(nullptr), JxlDecoderDestroy);
    if (!decoder || JxlDecoderSubscribeEvents(decoder.get(), JXL_DEC_BOX) != JXL_DEC_SUCCESS ||
        JxlDecoderSetDecompressBoxes(decoder.get(), JXL_TRUE) != JXL_DEC_SUCCESS)
        return std::nullopt;
    InputFeed input(file);
    ExifBox exif;
    bool atEnd = false;
    for (;;) {
        switch (JxlDecoderProcessInput(decoder.get())) {
        case JXL_DEC_NEED_MORE_INPUT:
            if (!atEnd) {
                atEnd = !input.feed(decoder.get());
                break;
            }
            // The decoder is never told that the file ended, as it then complains on standard error about a file cut
            // short: an Exif box that ends with the file is taken as far as it was written.
            return exif.started() ? exif.finish(decoder.get()) : std::nullopt;
        case JXL_DEC_BOX:
            if (exif.started())
                return exif.finish(decoder.get());
            if (isExifBox(decoder.get()))
                exif.start(decoder.get());
            break;
        case JXL_DEC_BOX_NEED_MORE_OUTPUT:
            if (!exif.grow(decoder.get()))
                return std::nullopt;
            break;
        case JXL_DEC_SUCCESS:
            return exif.started() ? exif.finish(decoder.get()) : std::nullopt;
        default:
            return std::nullopt;
        }
    }
}
