// Hostile and borderline picture files, each made here, small: damaged JPEG tables, formats the
// viewer does not take, sizes beyond the ceiling (refused from the header, before decoding) and
// the exact pixels of a JPEG decode, which must be the same in every build.
#include "image/picture_decoder.h"
#include "image/picture_format.h"
#include "image/picture_limits.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace maglorin {
namespace {

using Bytes = std::vector<std::uint8_t>;

void PutLe16(Bytes& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void PutLe32(Bytes& b, std::size_t at, std::uint32_t v) {
    PutLe16(b, at, v & 0xFFFF);
    PutLe16(b, at + 2, v >> 16);
}

// A 24-bit BMP header (file header and 40-byte info header) claiming width x height, followed
// by `pixelBytes` bytes of pixel data (zeros).
Bytes BmpClaiming(std::int32_t width, std::int32_t height, std::size_t pixelBytes) {
    Bytes b(54 + pixelBytes, 0);
    b[0] = 'B';
    b[1] = 'M';
    PutLe32(b, 2, static_cast<std::uint32_t>(b.size()));
    PutLe32(b, 10, 54);
    PutLe32(b, 14, 40);
    PutLe32(b, 18, static_cast<std::uint32_t>(width));
    PutLe32(b, 22, static_cast<std::uint32_t>(height));
    PutLe16(b, 26, 1);
    PutLe16(b, 28, 24);
    return b;
}

struct Outcome {
    bool decoded = false;
    DecodedPicture picture;
    std::string error;
};

Outcome Decode(const Bytes& bytes) {
    Outcome o;
    o.picture.width = 3;  // whatever was there before must not survive a refusal
    o.picture.height = 3;
    o.picture.pixels.assign(9, 1u);
    o.decoded = DecodePictureMemory(bytes.data(), bytes.size(), o.picture, o.error);
    return o;
}

void ExpectRefused(const Bytes& bytes, const std::string& why, const std::string& errorPart) {
    const Outcome o = Decode(bytes);
    EXPECT_FALSE(o.decoded) << why;
    EXPECT_TRUE(o.picture.Empty()) << why;
    EXPECT_TRUE(o.picture.pixels.empty()) << why;
    EXPECT_NE(o.error.find(errorPart), std::string::npos) << why << ": " << o.error;
}

// A real JPEG made by the project's writer: 24 x 16, colours that vary in both directions, so
// the chroma of 4:2:0 sampling and the IDCT both shape the decoded pixels.
Bytes SampleJpeg(std::int32_t width = 24, std::int32_t height = 16) {
    DecodedPicture picture{width, height, {}};
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            picture.pixels.push_back(static_cast<std::uint32_t>((x * 10) << 16 | (y * 15) << 8 | ((x ^ y) * 9)));
        }
    }
    const auto path = std::filesystem::temp_directory_path() / "maglorin_inputs_sample.jpg";
    EXPECT_TRUE(WritePictureJpeg(path, picture, 90));
    Bytes bytes;
    {
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::filesystem::remove(path);
    return bytes;
}

// Offset of the first byte after marker FF xx, or 0 when the marker is not there.
std::size_t AfterMarker(const Bytes& jpeg, std::uint8_t marker) {
    for (std::size_t i = 2; i + 1 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == marker) return i + 2;
    }
    return 0;
}

TEST(CraftedJpeg, DamagedTablesAreRefusedWithAReason) {
    // Nine bytes: SOI, then a Huffman table segment whose code counts promise far more than 256
    // symbols and whose data ends at once.
    ExpectRefused({0xFF, 0xD8, 0xFF, 0xC4, 0x00, 0x13, 0x00, 0xFF, 0xFF}, "9-byte table", "JPEG");
    // Counts that add up to more than 256 symbols, with the whole segment present.
    // Segment: length (2 bytes), class and id, 16 counts of 32 (512 symbols), 512 symbols.
    constexpr std::size_t kSegment = 2 + 1 + 16 + 512;
    Bytes overfull(4 + kSegment + 2, 0x01);
    const std::uint8_t head[] = {0xFF, 0xD8, 0xFF, 0xC4, kSegment >> 8, kSegment & 0xFF, 0x00};
    std::copy(std::begin(head), std::end(head), overfull.begin());
    std::fill_n(overfull.begin() + 7, 16, std::uint8_t{0x20});
    overfull[overfull.size() - 2] = 0xFF;
    overfull[overfull.size() - 1] = 0xD9;
    ExpectRefused(overfull, "overfull table", "JPEG");
    // Only the start marker, and a start marker followed by garbage.
    ExpectRefused({0xFF, 0xD8, 0xFF}, "bare start", "JPEG");
    ExpectRefused({0xFF, 0xD8, 0xFF, 0xE0, 1, 2, 3, 4, 5}, "garbage segment", "JPEG");
}

TEST(CraftedJpeg, AProgressiveScanWithoutItsHuffmanTableIsRefused) {
    Bytes jpeg = SampleJpeg();
    // Turn the baseline frame into a progressive one and drop every Huffman table: the first
    // scan then names tables that were never defined.
    const std::size_t sof = AfterMarker(jpeg, 0xC0);
    ASSERT_NE(sof, 0u);
    jpeg[sof - 1] = 0xC2;
    for (std::size_t at = AfterMarker(jpeg, 0xC4); at != 0; at = AfterMarker(jpeg, 0xC4)) {
        const std::size_t length = static_cast<std::size_t>(jpeg[at] << 8 | jpeg[at + 1]);
        jpeg.erase(jpeg.begin() + static_cast<std::ptrdiff_t>(at - 2),
                   jpeg.begin() + static_cast<std::ptrdiff_t>(at + length));
    }
    ExpectRefused(jpeg, "progressive without tables", "JPEG");
}

TEST(CraftedJpeg, TruncatedDataStillGivesAWholePicture) {
    // Like every viewer, a file cut short shows what arrived; the rest is filled, never left
    // uninitialised, and the size is the one the header gave.
    Bytes jpeg = SampleJpeg(96, 64);
    const std::size_t scan = AfterMarker(jpeg, 0xDA);
    ASSERT_NE(scan, 0u);
    jpeg.resize(scan + (jpeg.size() - scan) / 2);
    const Outcome o = Decode(jpeg);
    ASSERT_TRUE(o.decoded) << o.error;
    EXPECT_EQ(o.picture.width, 96);
    EXPECT_EQ(o.picture.height, 64);
    EXPECT_EQ(o.picture.pixels.size(), 96u * 64u);
}

// An 8 x 8 grey progressive JPEG: one DC-only scan, repeated `scans` times (a repeated scan is
// a warning, not an error, so the file decodes unless the scan count itself is refused).
Bytes ProgressiveJpeg(int scans) {
    Bytes b = {0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x43, 0x00};
    b.resize(b.size() + 64, 0x01);  // quantisation table 0: all ones
    const std::uint8_t frame[] = {0xFF, 0xC2, 0x00, 0x0B, 0x08, 0x00, 0x08, 0x00, 0x08, 0x01, 0x01, 0x11, 0x00};
    b.insert(b.end(), std::begin(frame), std::end(frame));
    // DC table 0 with one code of one bit, for difference category 0.
    const std::uint8_t table[] = {0xFF, 0xC4, 0x00, 0x14, 0x00, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x00};
    b.insert(b.end(), std::begin(table), std::end(table));
    const std::uint8_t scan[] = {0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x7F};
    for (int i = 0; i < scans; ++i) b.insert(b.end(), std::begin(scan), std::end(scan));
    b.push_back(0xFF);
    b.push_back(0xD9);
    return b;
}

TEST(CraftedJpeg, ProgressiveFilesWithEndlessScansAreRefused) {
    const Outcome few = Decode(ProgressiveJpeg(3));
    ASSERT_TRUE(few.decoded) << few.error;
    EXPECT_EQ(few.picture.width, 8);
    EXPECT_EQ(few.picture.pixels.at(0), 0x00808080u) << "a zero DC is mid grey";
    EXPECT_TRUE(Decode(ProgressiveJpeg(500)).decoded);
    ExpectRefused(ProgressiveJpeg(501), "501 scans", "too many scans");
    ExpectRefused(ProgressiveJpeg(5000), "5000 scans", "too many scans");
}

TEST(CraftedFormats, OnlyJpegBmpAndGifAreDecoded) {
    // A Softimage PIC header (97 bytes) that once reached a null pointer in a decoder.
    Bytes pic(97, 0);
    const std::uint8_t magic[] = {0x53, 0x80, 0xF6, 0x34};
    std::copy(std::begin(magic), std::end(magic), pic.begin());
    std::copy_n("PICT", 4, pic.begin() + 88);
    ExpectRefused(pic, "PIC", "not a picture the viewer can read");
    // A 2-byte "P6": once accepted as a 0 x 0 picture.
    ExpectRefused({'P', '6'}, "P6", "not a picture the viewer can read");
    // An 18-byte TGA header claiming 65535 x 65535, with a little data after it.
    Bytes tga(260, 0);
    tga[2] = 2;
    PutLe16(tga, 12, 0xFFFF);
    PutLe16(tga, 14, 0xFFFF);
    tga[16] = 24;
    ExpectRefused(tga, "TGA", "not a picture the viewer can read");
    // A PNG signature.
    ExpectRefused({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13}, "PNG", "not a picture");
    ExpectRefused({}, "nothing", "not a picture");

    EXPECT_EQ(SniffPictureFormat(reinterpret_cast<const std::uint8_t*>("GIF89a"), 6), PictureFormat::Gif);
    EXPECT_EQ(SniffPictureFormat(reinterpret_cast<const std::uint8_t*>("GIF90a"), 6), PictureFormat::Unknown);
    EXPECT_EQ(SniffPictureFormat(nullptr, 10), PictureFormat::Unknown);
}

TEST(PictureCeiling, ClaimedSizesBeyondItAreRefusedFromTheHeader) {
    // 66 bytes claiming 7,995,404 x 8 pixels: refused from the header, without decoding.
    ExpectRefused(BmpClaiming(7995404, 8, 12), "wide BMP", "picture too large: 7995404 x 8");
    // 12 x 1,048,584, a background that once needed gigabytes to resample.
    ExpectRefused(BmpClaiming(12, 1048584, 12), "tall BMP", "picture too large: 12 x 1048584");
    // A top-down BMP (negative height) is measured by its size, not its sign.
    ExpectRefused(BmpClaiming(2, -20000, 12), "top-down BMP", "picture too large: 2 x 20000");
    // A JPEG whose frame header claims 20000 x 16.
    Bytes jpeg = SampleJpeg();
    const std::size_t sof = AfterMarker(jpeg, 0xC0);
    ASSERT_NE(sof, 0u);
    jpeg[sof + 5] = 20000 >> 8;
    jpeg[sof + 6] = 20000 & 0xFF;
    ExpectRefused(jpeg, "wide JPEG", "picture too large: 20000 x 16");
    // A GIF screen of 30000 x 2.
    ExpectRefused({'G', 'I', 'F', '8', '9', 'a', 0x30, 0x75, 2, 0, 0, 0, 0, 0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0,
                   2, 2, 0x44, 1, 0, 0x3B},
                  "wide GIF", "picture too large");
}

TEST(PictureCeiling, TheLimitsThemselves) {
    std::string error;
    EXPECT_TRUE(PictureSizeAllowed(kMaxPictureSide, 1, error));
    EXPECT_TRUE(PictureSizeAllowed(1, kMaxPictureSide, error));
    EXPECT_TRUE(PictureSizeAllowed(kMaxPictureSide, kMaxPicturePixels / kMaxPictureSide, error));
    EXPECT_FALSE(PictureSizeAllowed(kMaxPictureSide + 1, 1, error));
    EXPECT_FALSE(PictureSizeAllowed(1, kMaxPictureSide + 1, error));
    EXPECT_FALSE(PictureSizeAllowed(kMaxPictureSide, kMaxPicturePixels / kMaxPictureSide + 1, error));
    EXPECT_FALSE(PictureSizeAllowed(0, 5, error));
    EXPECT_EQ(error, "the picture has no pixels");
    EXPECT_FALSE(PictureSizeAllowed(5, -1, error));
    EXPECT_FALSE(PictureSizeAllowed(0, 0, error));

    // A real BMP at the widest allowed size decodes; one pixel more is refused.
    const Bytes widest = BmpClaiming(static_cast<std::int32_t>(kMaxPictureSide), 1, kMaxPictureSide * 3);
    const Outcome o = Decode(widest);
    ASSERT_TRUE(o.decoded) << o.error;
    EXPECT_EQ(o.picture.width, kMaxPictureSide);
    const Bytes wider = BmpClaiming(static_cast<std::int32_t>(kMaxPictureSide) + 1, 1, (kMaxPictureSide + 1) * 3 + 1);
    ExpectRefused(wider, "one pixel wider", "picture too large");
}

TEST(CraftedBmp, TopDownBitmapsDecodeTheRightWayUp) {
    // 2 x 2, 24 bits, rows of 8 bytes (padded), stored top row first: red, green / blue, white.
    Bytes bmp = BmpClaiming(2, -2, 16);
    const std::uint8_t rows[16] = {0, 0, 0xFF, 0, 0xFF, 0, 0, 0, 0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0};
    std::copy(std::begin(rows), std::end(rows), bmp.begin() + 54);
    const Outcome o = Decode(bmp);
    ASSERT_TRUE(o.decoded) << o.error;
    ASSERT_EQ(o.picture.height, 2);
    EXPECT_EQ(o.picture.pixels, (std::vector<std::uint32_t>{0xFF0000u, 0x00FF00u, 0x0000FFu, 0xFFFFFFu}));
}

TEST(CraftedBmp, EmptyAndShortBitmapsAreRefused) {
    ExpectRefused(BmpClaiming(0, 0, 0), "0 x 0", "no pixels");
    ExpectRefused(BmpClaiming(4, 0, 16), "4 x 0", "no pixels");
    ExpectRefused({'B', 'M', 0, 0}, "4 bytes", "not a picture");
}

// FNV-1a over the decoded words.
std::uint64_t PixelHash(const DecodedPicture& picture) {
    std::uint64_t hash = 1469598103934665603ULL;
    for (std::uint32_t word : picture.pixels) {
        for (int shift = 0; shift < 32; shift += 8) {
            hash = (hash ^ ((word >> shift) & 0xFF)) * 1099511628211ULL;
        }
    }
    return hash;
}

TEST(JpegDecoding, GivesTheSamePixelsInEveryBuild) {
    // The accurate integer IDCT and the same upsampling in every tree: this hash is the same
    // natively, under sanitizers and in the Windows builds.
    const Outcome o = Decode(SampleJpeg());
    ASSERT_TRUE(o.decoded) << o.error;
    ASSERT_EQ(o.picture.width, 24);
    ASSERT_EQ(o.picture.height, 16);
    for (std::uint32_t word : o.picture.pixels) ASSERT_EQ(word >> 24, 0u) << "no bits above the colour";
    EXPECT_EQ(PixelHash(o.picture), 0xbcf7c75f6bea9bb7u) << std::hex << PixelHash(o.picture);
}

}  // namespace
}  // namespace maglorin
