#include "decoder_test_support.h"

#include <stdexcept>
#include <windows.h>

namespace maglorin::test_support {
namespace {

class Win32Library final : public LoadedLibrary {
public:
    explicit Win32Library(HMODULE module) : module_(module) {}
    ~Win32Library() override { FreeLibrary(module_); }
    const DecoderExports& Exports() const override { return exports_; }
    DecoderExports exports_;

private:
    HMODULE module_;
};

class Win32ReadHandle final : public ReadHandle {
public:
    explicit Win32ReadHandle(HANDLE handle) : handle_(handle) {}
    ~Win32ReadHandle() override { CloseHandle(handle_); }
    NativeFileHandle Handle() const override { return handle_; }

private:
    HANDLE handle_;
};

template <typename Fn>
Fn Bind(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

std::optional<std::uint64_t> FileTimeOf(const std::filesystem::path& file, bool creation) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data)) {
        return std::nullopt;
    }
    const FILETIME& ft = creation ? data.ftCreationTime : data.ftLastWriteTime;
    return (static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

}  // namespace

std::unique_ptr<LoadedLibrary> LoadDecoderLibrary() {
    const HMODULE module = LoadLibraryW(std::filesystem::absolute(L"decoder.dll").c_str());
    if (module == nullptr) {
        return nullptr;
    }
    auto library = std::make_unique<Win32Library>(module);
    DecoderExports& e = library->exports_;
    e.initExtraction = Bind<InitExtractionFn>(module, "InitExtraction");
    e.getTotalFilesSize = Bind<GetTotalFilesSizeFn>(module, "GetTotalFilesSize");
    e.extractAllFiles = Bind<ExtractAllFilesFn>(module, "ExtractAllFiles");
    e.endExtraction = Bind<EndExtractionFn>(module, "EndExtraction");
    return library;
}

std::unique_ptr<ReadHandle> OpenForReading(const std::filesystem::path& path) {
    const HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        throw std::runtime_error("cannot open " + path.string());
    }
    return std::make_unique<Win32ReadHandle>(handle);
}

namespace {

// Mounted from the Linux side by small_volume.sh (a program under Wine cannot mount one); this
// only empties it again after each case.
class PreparedVolume final : public SmallVolume {
public:
    explicit PreparedVolume(std::filesystem::path folder) : folder_(std::move(folder)) {}
    ~PreparedVolume() override {
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(folder_, ignored)) {
            std::filesystem::remove_all(entry.path(), ignored);
        }
    }

private:
    std::filesystem::path folder_;
};

}  // namespace

std::unique_ptr<SmallVolume> MountSmallVolume(const std::filesystem::path& folder, std::uint64_t) {
    std::filesystem::path marker = folder;
    marker += L".mounted";
    if (!std::filesystem::exists(marker)) {
        return nullptr;
    }
    return std::make_unique<PreparedVolume>(folder);
}

std::optional<std::uint64_t> LastWriteTime(const std::filesystem::path& file) {
    return FileTimeOf(file, false);
}

std::optional<std::uint64_t> CreationTime(const std::filesystem::path& file) {
    return FileTimeOf(file, true);
}

void SetEnvironment(const char* name, const std::optional<std::string>& value) {
    std::wstring wideName(name, name + std::char_traits<char>::length(name));
    if (value) {
        const std::wstring wideValue(value->begin(), value->end());
        SetEnvironmentVariableW(wideName.c_str(), wideValue.c_str());
    } else {
        SetEnvironmentVariableW(wideName.c_str(), nullptr);
    }
}

}  // namespace maglorin::test_support
