#pragma once
// What the decoder tests need around the library: the four exports bound by name from the
// built library (dlopen natively, LoadLibraryW under Wine, as setup binds them), archive files
// opened as native handles, work folders, and the system's view of files (times, environment).

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "extraction_context.h"

namespace maglorin::test_support {

using PathString = std::basic_string<PathChar>;

using DecoderExports = ExtractionFunctions;

// The library loaded from the bin folder; unloaded by the destructor.
class LoadedLibrary {
public:
    virtual ~LoadedLibrary() = default;
    virtual const DecoderExports& Exports() const = 0;
};
std::unique_ptr<LoadedLibrary> LoadDecoderLibrary();

// A file opened for reading as the library receives it; closed by the destructor.
class ReadHandle {
public:
    virtual ~ReadHandle() = default;
    virtual NativeFileHandle Handle() const = 0;
};
std::unique_ptr<ReadHandle> OpenForReading(const std::filesystem::path& path);

// The archives and their source trees made by make_decoder_archives.sh.
std::filesystem::path TestData();

// A fresh, empty, absolute folder for one test.
std::filesystem::path FreshFolder(const std::string& name);

// The folder as the context's UTF-16 text, with or without a final separator.
PathString AsContextFolder(const std::filesystem::path& folder, bool finalSeparator);

// Last-write and creation times as 100-ns intervals since 1601 (creation: Windows only).
std::optional<std::uint64_t> LastWriteTime(const std::filesystem::path& file);
std::optional<std::uint64_t> CreationTime(const std::filesystem::path& file);

// Sets or (with no value) removes an environment variable of this process.
void SetEnvironment(const char* name, const std::optional<std::string>& value);

std::string ReadAll(const std::filesystem::path& file);
void WriteAll(const std::filesystem::path& file, const std::string& bytes);

// True when both trees hold the same files with the same bytes and the same folders.
bool SameTree(const std::filesystem::path& expected, const std::filesystem::path& actual, std::string& difference);

// A tiny volume at folder for the free-space cases: natively a tmpfs this process mounts (and
// unmounts in the destructor) when it may; under Wine the one small_volume.sh mounted there
// (emptied again by the destructor). Empty where there is none.
class SmallVolume {
public:
    virtual ~SmallVolume() = default;
};
std::unique_ptr<SmallVolume> MountSmallVolume(const std::filesystem::path& folder, std::uint64_t bytes);

// CRC-32 as 7z stores it, for patching archives.
std::uint32_t Crc32(const std::string& bytes, std::size_t begin, std::size_t length);

}  // namespace maglorin::test_support
