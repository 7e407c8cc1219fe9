// Windows side of decoder-extract: decoder.dll is loaded with LoadLibraryW from the program's
// folder and bound by name with GetProcAddress, as setup does; archives are HANDLEs.
#include "extract_platform.h"

#include <windows.h>

#include <utility>

#include "win32_handles.h"

namespace maglorin::extract_tool {
namespace {

std::wstring Widen(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

std::string Narrow(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

class Win32Decoder final : public LoadedDecoder {
public:
    explicit Win32Decoder(LibraryHandle module) : module_(std::move(module)) {}
    const DecoderExports& Exports() const override { return exports_; }
    HMODULE Module() const { return module_.Get(); }
    DecoderExports exports_;

private:
    LibraryHandle module_;
};

class Win32ArchiveFile final : public ArchiveFile {
public:
    Win32ArchiveFile(FileHandle handle, std::uint64_t size) : handle_(std::move(handle)), size_(size) {}
    NativeFileHandle Handle() const override { return handle_.Get(); }
    std::uint64_t Size() const override { return size_; }

private:
    FileHandle handle_;
    std::uint64_t size_;
};

template <typename Fn>
bool Bind(HMODULE module, const char* name, Fn& target) {
    target = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return target != nullptr;
}

std::wstring ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(n);
    return path.substr(0, path.rfind(L'\\'));
}

}  // namespace

std::vector<std::string> ArgumentsFromWide(int argc, wchar_t** argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.push_back(Narrow(argv[i]));
    }
    return arguments;
}

std::unique_ptr<LoadedDecoder> LoadDecoder(std::string& error) {
    const std::wstring path = ProgramFolder() + L"\\decoder.dll";
    LibraryHandle library(LoadLibraryW(path.c_str()));
    if (!library) {
        error = "cannot load the extraction library " + Narrow(path);
        return nullptr;
    }
    auto decoder = std::make_unique<Win32Decoder>(std::move(library));
    const HMODULE module = decoder->Module();
    DecoderExports& e = decoder->exports_;
    if (!Bind(module, "InitExtraction", e.initExtraction) ||
        !Bind(module, "GetTotalFilesSize", e.getTotalFilesSize) ||
        !Bind(module, "ExtractAllFiles", e.extractAllFiles) ||
        !Bind(module, "EndExtraction", e.endExtraction)) {
        error = "the extraction library " + Narrow(path) + " lacks one of its four functions";
        return nullptr;
    }
    return decoder;
}

std::unique_ptr<ArchiveFile> OpenArchiveFile(const std::string& path, std::string& error) {
    FileHandle handle(CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size;
    if (!handle || !GetFileSizeEx(handle.Get(), &size)) {
        error = "cannot open " + path;
        return nullptr;
    }
    return std::make_unique<Win32ArchiveFile>(std::move(handle), static_cast<std::uint64_t>(size.QuadPart));
}

std::optional<std::basic_string<PathChar>> PrepareOutputFolder(const std::string& path, std::string& error) {
    const std::wstring wide = Widen(path);
    std::wstring absolute(32768, L'\0');
    const DWORD n = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(absolute.size()), absolute.data(), nullptr);
    if (n == 0 || n >= absolute.size()) {
        error = "cannot resolve the output folder " + path;
        return std::nullopt;
    }
    absolute.resize(n);
    for (std::size_t i = 3; i <= absolute.size(); ++i) {
        if (i == absolute.size() || absolute[i] == L'\\') {
            CreateDirectoryW(absolute.substr(0, i).c_str(), nullptr);
        }
    }
    const DWORD attributes = GetFileAttributesW(absolute.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        error = "cannot create the output folder " + Narrow(absolute);
        return std::nullopt;
    }
    if (absolute.back() != L'\\') {
        absolute += L'\\';
    }
    return absolute;
}

bool OutputIsTerminal() {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != FALSE;
}

}  // namespace maglorin::extract_tool
