// stb_image's PNG reader, compiled alone here for the project's own PNG files.
#include "png_reader.h"

#include <climits>
#include <cstring>
#include <fstream>
#include <system_error>
#include <vector>

#include "picture_limits.h"

#include "stb_warnings_begin.h"
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_MAX_DIMENSIONS 16384
#include <stb_image.h>
#include "stb_warnings_end.h"

namespace maglorin {

namespace {

constexpr std::size_t kSignatureBytes = 8;
constexpr std::size_t kChunkFrameBytes = 12;  // length, type and CRC around each chunk's data

std::uint32_t BigEndian32(const std::uint8_t* bytes) {
    return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) | (std::uint32_t{bytes[2]} << 8) |
           std::uint32_t{bytes[3]};
}

// Every chunk up to the end marker lies inside the file. The reader reserves memory for the
// length a chunk claims before it reads the data, so a claim beyond the file is refused here.
bool ChunksFitTheFile(const std::uint8_t* data, std::size_t size) {
    std::size_t at = kSignatureBytes;
    while (size - at >= kChunkFrameBytes) {
        const std::uint32_t length = BigEndian32(data + at);
        if (length > size - at - kChunkFrameBytes) return false;
        if (std::memcmp(data + at + 4, "IEND", 4) == 0) return true;
        at += kChunkFrameBytes + length;
    }
    return false;
}

}  // namespace

bool ReadPngFile(const std::filesystem::path& path, DecodedPicture& picture, std::string& error) {
    picture = DecodedPicture{};
    std::error_code sizeError;
    const std::uintmax_t size = std::filesystem::file_size(path, sizeError);
    if (sizeError || size == 0 || size > kMaxPictureFileBytes) {
        error = "cannot open the PNG file, or it is empty or too large";
        return false;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    std::ifstream file(path, std::ios::binary);
    if (!file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size))) {
        error = "cannot read the PNG file";
        return false;
    }
    return ReadPngMemory(bytes.data(), bytes.size(), picture, error);
}

bool ReadPngMemory(const std::uint8_t* data, std::size_t size, DecodedPicture& picture, std::string& error) {
    picture = DecodedPicture{};
    if (size == 0 || size > kMaxPictureFileBytes || size > static_cast<std::size_t>(INT_MAX)) {
        error = "the PNG file is empty or too large";
        return false;
    }
    int width = 0;
    int height = 0;
    int channels = 0;
    const int length = static_cast<int>(size);
    if (stbi_info_from_memory(data, length, &width, &height, &channels) == 0) {
        error = "not a PNG picture";
        return false;
    }
    if (!ChunksFitTheFile(data, size)) {
        error = "damaged PNG file";
        return false;
    }
    if (!PictureSizeAllowed(width, height, error)) return false;
    unsigned char* rgb = stbi_load_from_memory(data, length, &width, &height, &channels, 3);
    if (rgb == nullptr) {
        error = "damaged PNG file";
        return false;
    }
    FillFromRgbTriples(picture, rgb, width, height);
    stbi_image_free(rgb);
    return true;
}

}  // namespace maglorin
