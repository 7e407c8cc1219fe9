#include "package_test_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <string>

namespace maglorin::test_support {

TempFolder::TempFolder() {
    std::random_device entropy;
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::filesystem::path candidate = base / ("maglorin-package-" + std::to_string(entropy()));
        if (std::filesystem::create_directory(candidate)) {
            path_ = candidate;
            return;
        }
    }
    ADD_FAILURE() << "cannot create a temporary folder below " << base.string();
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    if (!path_.empty()) {
        std::filesystem::remove_all(path_, ignored);
    }
}

PackageName Name(std::string_view ascii) { return PackageName(ascii.begin(), ascii.end()); }

std::vector<std::uint8_t> PatternBytes(std::size_t count, std::uint32_t start) {
    std::vector<std::uint8_t> bytes(count);
    std::uint32_t state = start * 2654435761u + 1;
    for (std::uint8_t& byte : bytes) {
        state = state * 1664525u + 1013904223u;
        // Never 'T', the first magic byte, so no filler can hold a magic.
        byte = static_cast<std::uint8_t>(state >> 24);
        if (byte == 'T') {
            byte = 't';
        }
    }
    return bytes;
}

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << "cannot write " << path.string();
}

void PatchLittleEndian32(std::vector<std::uint8_t>& bytes, std::uint64_t position, std::uint32_t value) {
    ASSERT_LE(position + 4, bytes.size());
    for (int i = 0; i < 4; ++i) {
        bytes[position + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

PackageContents ShippedLikeContents() {
    PackageContents contents;
    contents.programImage = PatternBytes(5000, 1);
    std::vector<std::uint8_t> configuration = {0xFF, 0xFE, '[', 0, 'G', 0, ']', 0};
    contents.entries.push_back({PayloadGroup::SetupFiles, PayloadFileType::Configuration, 0, Name("setup.ini"),
                                configuration});
    contents.entries.push_back({PayloadGroup::ExtractionLibrary, PayloadFileType::ExtractionLibrary, 0,
                                Name("decoder.dll"), PatternBytes(3000, 2)});
    contents.entries.push_back({PayloadGroup::CompressedDatabase, PayloadFileType::DatabaseArchive, kEntryKeepFlag,
                                Name("ABCDEF1\\setup.msi"), PatternBytes(1500, 3)});
    contents.entries.push_back({PayloadGroup::CompressedDatabase, PayloadFileType::ProductArchive, 0,
                                Name("ABCDEF1\\FILES.7z"), PatternBytes(7000, 4)});
    contents.flags = PackageFlags::HasConfiguration | PackageFlags::DatabaseInArchive |
                     PackageFlags::ExtractOnRequest | PackageFlags::ConfigurationInPayload;
    return contents;
}

PackageLayoutInfo WriteTestPackage(const PackageContents& contents, const std::filesystem::path& output) {
    PackageLayoutInfo layout;
    std::string error;
    EXPECT_TRUE(WritePackage(contents, output, layout, error)) << error;
    return layout;
}

}  // namespace maglorin::test_support
