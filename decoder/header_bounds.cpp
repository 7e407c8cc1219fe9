#include "header_bounds.h"

#include <algorithm>
#include <vector>

namespace maglorin::decoder {
namespace {

// Property ids of the 7z header that the folder description uses.
enum : std::uint8_t {
    kIdEnd = 0x00,
    kIdHeader = 0x01,
    kIdArchiveProperties = 0x02,
    kIdAdditionalStreamsInfo = 0x03,
    kIdMainStreamsInfo = 0x04,
    kIdFilesInfo = 0x05,
    kIdPackInfo = 0x06,
    kIdUnpackInfo = 0x07,
    kIdSubStreamsInfo = 0x08,
    kIdSize = 0x09,
    kIdCrc = 0x0A,
    kIdFolder = 0x0B,
    kIdCodersUnpackSize = 0x0C,
    kIdNumUnpackStream = 0x0D,
    kIdEncodedHeader = 0x17,
};

// Folders and coders beyond these are not a header any writer makes.
constexpr std::uint64_t kMaxFolders = 64;
constexpr std::uint64_t kMaxCoders = 64;

// Reads the header's numbers and bytes; every read fails cleanly at the end of the bytes.
class HeaderCursor {
public:
    HeaderCursor(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool Byte(std::uint8_t& value) {
        if (at_ >= size_) return false;
        value = data_[at_++];
        return true;
    }
    bool Skip(std::uint64_t count) {
        if (count > size_ - at_) return false;
        at_ += static_cast<std::size_t>(count);
        return true;
    }
    // The 7z number: the leading one bits of the first byte say how many bytes follow.
    bool Number(std::uint64_t& value) {
        std::uint8_t first = 0;
        if (!Byte(first)) return false;
        value = 0;
        std::uint8_t mask = 0x80;
        for (int i = 0; i < 8; ++i, mask >>= 1) {
            if ((first & mask) == 0) {
                value |= std::uint64_t(first & (mask - 1)) << (8 * i);
                return true;
            }
            std::uint8_t next = 0;
            if (!Byte(next)) return false;
            value |= std::uint64_t(next) << (8 * i);
        }
        return true;
    }
    std::size_t At() const { return at_; }
    std::size_t Left() const { return size_ - at_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

bool SkipDigests(HeaderCursor& cursor, std::uint64_t count) {
    std::uint8_t allDefined = 0;
    if (!cursor.Byte(allDefined)) return false;
    std::uint64_t defined = count;
    if (allDefined == 0) {
        defined = 0;
        for (std::uint64_t i = 0; i < count; i += 8) {
            std::uint8_t bits = 0;
            if (!cursor.Byte(bits)) return false;
            for (int b = 0; b < 8 && i + b < count; ++b) defined += (bits >> (7 - b)) & 1;
        }
    }
    return cursor.Skip(defined * 4);
}

// The pack streams' sizes and digests, after their count.
bool SkipPackSizes(HeaderCursor& cursor, std::uint64_t streams) {
    std::uint8_t id = 0;
    if (!cursor.Byte(id) || id != kIdSize) return false;
    for (std::uint64_t i = 0; i < streams; ++i) {
        std::uint64_t size = 0;
        if (!cursor.Number(size)) return false;
    }
    for (;;) {
        std::uint64_t next = 0;
        if (!cursor.Number(next)) return false;
        if (next == kIdEnd) return true;
        if (next == kIdCrc) {
            if (!SkipDigests(cursor, streams)) return false;
            continue;
        }
        std::uint64_t length = 0;
        if (!cursor.Number(length) || !cursor.Skip(length)) return false;
    }
}

bool SkipPackInfo(HeaderCursor& cursor) {
    std::uint64_t position = 0;
    std::uint64_t streams = 0;
    return cursor.Number(position) && cursor.Number(streams) && SkipPackSizes(cursor, streams);
}

// One folder's coders; answers how many unpacked streams (coder outputs) it has.
bool ReadFolder(HeaderCursor& cursor, std::uint64_t& outputs) {
    std::uint64_t coders = 0;
    if (!cursor.Number(coders) || coders == 0 || coders > kMaxCoders) return false;
    std::uint64_t inputs = 0;
    outputs = 0;
    for (std::uint64_t c = 0; c < coders; ++c) {
        std::uint8_t main = 0;
        if (!cursor.Byte(main) || !cursor.Skip(main & 0x0F)) return false;
        std::uint64_t in = 1;
        std::uint64_t out = 1;
        if ((main & 0x10) != 0 && (!cursor.Number(in) || !cursor.Number(out))) return false;
        if (in > kMaxCoders || out != 1) return false;
        inputs += in;
        outputs += out;
        std::uint64_t propertyBytes = 0;
        if ((main & 0x20) != 0 && (!cursor.Number(propertyBytes) || !cursor.Skip(propertyBytes))) return false;
    }
    const std::uint64_t bonds = outputs - 1;
    for (std::uint64_t b = 0; b < bonds * 2; ++b) {
        std::uint64_t index = 0;
        if (!cursor.Number(index)) return false;
    }
    if (inputs < bonds) return false;
    const std::uint64_t packed = inputs - bonds;
    for (std::uint64_t p = 0; packed > 1 && p < packed; ++p) {
        std::uint64_t index = 0;
        if (!cursor.Number(index)) return false;
    }
    return true;
}

// The folders and their coders' unpack sizes; the largest output of each folder is at least
// the folder's own unpack size, so their sum bounds what 7-Zip reserves.
std::optional<std::uint64_t> ReadUnpackInfo(HeaderCursor& cursor) {
    std::uint8_t id = 0;
    std::uint64_t folders = 0;
    std::uint8_t external = 0;
    if (!cursor.Byte(id) || id != kIdFolder || !cursor.Number(folders) || folders > kMaxFolders ||
        !cursor.Byte(external) || external != 0) {
        return std::nullopt;
    }
    std::vector<std::uint64_t> outputs(static_cast<std::size_t>(folders));
    for (std::uint64_t& count : outputs) {
        if (!ReadFolder(cursor, count)) return std::nullopt;
    }
    if (!cursor.Byte(id) || id != kIdCodersUnpackSize) return std::nullopt;
    std::uint64_t total = 0;
    for (const std::uint64_t count : outputs) {
        std::uint64_t largest = 0;
        for (std::uint64_t i = 0; i < count; ++i) {
            std::uint64_t size = 0;
            if (!cursor.Number(size)) return std::nullopt;
            largest = std::max(largest, size);
        }
        if (largest > kMaxHeaderBytes || total + largest > kMaxHeaderBytes) {
            return largest > total ? largest : total + largest;  // beyond the limit either way
        }
        total += largest;
    }
    return total;
}

// What the count walk of a plain header found.
enum class Walk { Fits, TooMany, Unknown };

// A count read at the cursor, against the header bytes that follow it.
Walk Count(HeaderCursor& cursor, std::uint64_t headerSize, std::uint64_t& count) {
    if (!cursor.Number(count)) return Walk::Unknown;
    return count > headerSize - std::min<std::uint64_t>(headerSize, cursor.At()) ? Walk::TooMany : Walk::Fits;
}

Walk WalkPackInfo(HeaderCursor& cursor, std::uint64_t headerSize) {
    std::uint64_t position = 0;
    std::uint64_t streams = 0;
    if (!cursor.Number(position)) return Walk::Unknown;
    const Walk counted = Count(cursor, headerSize, streams);
    if (counted != Walk::Fits) return counted;
    return SkipPackSizes(cursor, streams) ? Walk::Fits : Walk::Unknown;
}

// The folders, their coders and unpack sizes; `folders` answers how many there are.
Walk WalkUnpackInfo(HeaderCursor& cursor, std::uint64_t headerSize, std::uint64_t& folders) {
    std::uint8_t id = 0;
    std::uint8_t external = 0;
    if (!cursor.Byte(id) || id != kIdFolder) return Walk::Unknown;
    const Walk counted = Count(cursor, headerSize, folders);
    if (counted != Walk::Fits) return counted;
    // Folders beyond the bytes at hand cannot be followed: the reader judges them.
    if (folders > cursor.Left() || !cursor.Byte(external) || external != 0) return Walk::Unknown;
    std::vector<std::uint64_t> outputs(static_cast<std::size_t>(folders));
    for (std::uint64_t& count : outputs) {
        if (!ReadFolder(cursor, count)) return Walk::Unknown;
    }
    if (!cursor.Byte(id) || id != kIdCodersUnpackSize) return Walk::Unknown;
    for (const std::uint64_t count : outputs) {
        for (std::uint64_t i = 0; i < count; ++i) {
            std::uint64_t size = 0;
            if (!cursor.Number(size)) return Walk::Unknown;
        }
    }
    for (;;) {
        if (!cursor.Byte(id)) return Walk::Unknown;
        if (id == kIdEnd) return Walk::Fits;
        if (id != kIdCrc || !SkipDigests(cursor, folders)) return Walk::Unknown;
    }
}

// The number of files each folder holds, then their sizes. The walk ends at their digests, whose
// count depends on which folders carry one.
Walk WalkSubStreams(HeaderCursor& cursor, std::uint64_t headerSize, std::uint64_t folders) {
    std::vector<std::uint64_t> files(static_cast<std::size_t>(folders), 1);
    std::uint8_t id = 0;
    for (;;) {
        if (!cursor.Byte(id)) return Walk::Unknown;
        if (id != kIdNumUnpackStream) break;
        for (std::uint64_t& count : files) {
            const Walk counted = Count(cursor, headerSize, count);
            if (counted != Walk::Fits) return counted;
        }
    }
    if (id == kIdSize) {
        for (const std::uint64_t count : files) {
            for (std::uint64_t i = 1; i < count; ++i) {
                std::uint64_t size = 0;
                if (!cursor.Number(size)) return Walk::Unknown;
            }
        }
        if (!cursor.Byte(id)) return Walk::Unknown;
    }
    return id == kIdEnd ? Walk::Fits : Walk::Unknown;
}

// One stream description: pack streams, folders, the files in the folders, in that order.
Walk WalkStreams(HeaderCursor& cursor, std::uint64_t headerSize) {
    std::uint8_t id = 0;
    if (!cursor.Byte(id)) return Walk::Unknown;
    Walk walked = Walk::Fits;
    if (id == kIdPackInfo) {
        if ((walked = WalkPackInfo(cursor, headerSize)) != Walk::Fits || !cursor.Byte(id)) return walked;
    }
    std::uint64_t folders = 0;
    if (id == kIdUnpackInfo) {
        walked = WalkUnpackInfo(cursor, headerSize, folders);
        if (walked != Walk::Fits || !cursor.Byte(id)) return walked;
    }
    if (id == kIdSubStreamsInfo) {
        walked = WalkSubStreams(cursor, headerSize, folders);
        if (walked != Walk::Fits || !cursor.Byte(id)) return walked;
    }
    return id == kIdEnd ? Walk::Fits : Walk::Unknown;
}

}  // namespace

std::optional<std::uint64_t> EncodedHeaderUnpackSize(const std::uint8_t* header, std::size_t size) {
    HeaderCursor cursor(header, size);
    std::uint8_t id = 0;
    if (!cursor.Byte(id)) {
        return std::nullopt;
    }
    if (id != kIdEncodedHeader) {
        return 0;  // a plain header (kIdHeader) or one the reader will refuse itself
    }
    if (!cursor.Byte(id)) {
        return std::nullopt;
    }
    if (id == kIdPackInfo) {
        if (!SkipPackInfo(cursor) || !cursor.Byte(id)) return std::nullopt;
    }
    if (id != kIdUnpackInfo) {
        return std::nullopt;
    }
    return ReadUnpackInfo(cursor);
}

bool PlainHeaderCountsFit(const std::uint8_t* header, std::size_t size, std::uint64_t headerSize) {
    HeaderCursor cursor(header, size);
    std::uint8_t id = 0;
    if (!cursor.Byte(id) || id != kIdHeader || !cursor.Byte(id)) {
        return true;
    }
    if (id == kIdArchiveProperties) {
        for (;;) {
            std::uint64_t type = 0;
            std::uint64_t length = 0;
            if (!cursor.Number(type)) return true;
            if (type == kIdEnd) break;
            if (!cursor.Number(length) || !cursor.Skip(length)) return true;
        }
        if (!cursor.Byte(id)) return true;
    }
    for (const std::uint8_t streams : {kIdAdditionalStreamsInfo, kIdMainStreamsInfo}) {
        if (id != streams) continue;
        const Walk walked = WalkStreams(cursor, headerSize);
        if (walked != Walk::Fits || !cursor.Byte(id)) return walked != Walk::TooMany;
    }
    // A file without data takes only one bit of the header (in its empty-stream list), and a
    // writer may leave out names: eight files to a byte.
    std::uint64_t files = 0;
    if (id != kIdFilesInfo || !cursor.Number(files)) return true;
    const std::uint64_t bytes = files / 8 + (files % 8 != 0 ? 1 : 0);
    return bytes <= headerSize - std::min<std::uint64_t>(headerSize, cursor.At());
}

}  // namespace maglorin::decoder
