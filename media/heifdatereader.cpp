// The recorded date of a HEIF or AVIF file from the Exif block of its primary image, read with libheif.
#include "media/heifdatereader.h"

#include "media/exiftags.h"

#include <libheif/heif.h>
#include <memory>
#include <vector>

namespace {

// libheif reads through these; a read given up is passed back across the library as a failed read.
struct ReadState
{
    BoundedFile& file;
    std::int64_t position = 0;
    bool abandoned = false;
};

int readBytes(void* data, std::size_t size, void* state)
{
    auto& read = *static_cast<ReadState*>(state);
    try {
        if (read.file.readAt(static_cast<std::uint64_t>(read.position), data, size) != size)
            return 1;
    } catch (const ReadAbandoned&) {
        read.abandoned = true;
        return 1;
    }
    read.position += static_cast<std::int64_t>(size);
    return 0;
}

constexpr heif_reader kReader{
    1,
    [](void* state) { return static_cast<ReadState*>(state)->position; },
    readBytes,
    [](std::int64_t position, void* state) {
        static_cast<ReadState*>(state)->position = position;
        return 0;
    },
    [](std::int64_t size, void* state) {
        return size <= static_cast<std::int64_t>(static_cast<ReadState*>(state)->file.size())
                   ? heif_reader_grow_status_size_reached
                   : heif_reader_grow_status_size_beyond_eof;
    },
};

using Context = std::unique_ptr<heif_context, decltype(&heif_context_free)>;
using ImageHandle = std::unique_ptr<heif_image_handle, decltype(&heif_image_handle_release)>;

std::optional<FileTime> primaryImageDate(heif_context* context, std::uint64_t fileSize)
{
    heif_image_handle* primary = nullptr;
    if (heif_context_get_primary_image_handle(context, &primary).code != heif_error_Ok)
        return std::nullopt;
    const ImageHandle handle(primary, heif_image_handle_release);
    heif_item_id exifBlock = 0;
    if (heif_image_handle_get_list_of_metadata_block_IDs(primary, "Exif", &exifBlock, 1) != 1)
        return std::nullopt;
    const std::size_t size = heif_image_handle_get_metadata_size(primary, exifBlock);
    // A block larger than the file is a damaged length, not an allocation to make.
    if (size > fileSize)
        return std::nullopt;
    std::vector<std::uint8_t> block(size);
    if (heif_image_handle_get_metadata(primary, exifBlock, block.data()).code != heif_error_Ok)
        return std::nullopt;
    return recordedDateOfExifBlock(block.data(), block.size());
}

} // namespace

std::optional<FileTime> heifRecordedDate(BoundedFile& file)
{
    const Context context(heif_context_alloc(), heif_context_free);
    if (!context)
        return std::nullopt;
    ReadState state{file};
    const heif_error opened = heif_context_read_from_reader(context.get(), &kReader, &state, nullptr);
    if (state.abandoned)
        throw ReadAbandoned();
    if (opened.code != heif_error_Ok)
        return std::nullopt;
    const std::optional<FileTime> date = primaryImageDate(context.get(), file.size());
    if (state.abandoned)
        throw ReadAbandoned();
    return date;
}
