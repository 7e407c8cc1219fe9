#pragma once
// Packages for the package tests: written by the packer's own writer into a private temporary
// folder, then read back or damaged byte by byte.

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

#include "package_writer.h"

namespace maglorin::test_support {

// A fresh folder below the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

PackageName Name(std::string_view ascii);

// Deterministic filler that never holds the package magic.
std::vector<std::uint8_t> PatternBytes(std::size_t count, std::uint32_t start);

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);
void PatchLittleEndian32(std::vector<std::uint8_t>& bytes, std::uint64_t position, std::uint32_t value);

// Like the shipped package: a program image, setup.ini, decoder.dll, the database archive and
// the product archive under a package sub-folder, flags 0x21A.
PackageContents ShippedLikeContents();

// Writes the contents with the packer's writer; fails the current test when it cannot.
PackageLayoutInfo WriteTestPackage(const PackageContents& contents, const std::filesystem::path& output);

}  // namespace maglorin::test_support
