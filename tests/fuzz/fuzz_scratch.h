#pragma once
// A private scratch folder for fuzz targets that must hand their input to code reading files:
// one per process below the system's temporary folder, removed when the process ends.

#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace maglorin::test_support {

// The process's scratch folder, created on first use.
const std::filesystem::path& ScratchFolder();

// Writes the bytes to `name` inside the scratch folder (replacing it) and answers its path;
// aborts when the file cannot be written, for that is a broken harness, not a finding.
std::filesystem::path WriteScratchFile(const char* name, const std::uint8_t* data, std::size_t size);

}  // namespace maglorin::test_support
