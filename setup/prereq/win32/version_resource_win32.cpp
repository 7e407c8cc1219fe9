#include "version_resource_win32.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace maglorin {

namespace {

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

// The whole version resource of a file; empty when it has none.
std::vector<BYTE> VersionBlock(std::u16string_view path) {
    const std::wstring file = Wide(path);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    if (size == 0) return {};
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(file.c_str(), 0, size, block.data())) return {};
    return block;
}

}  // namespace

std::optional<VersionNumber> ReadFileVersion(std::u16string_view path) {
    std::vector<BYTE> block = VersionBlock(path);
    if (block.empty()) return std::nullopt;
    void* data = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\", &data, &length) || length < sizeof(VS_FIXEDFILEINFO)) return std::nullopt;
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(data);
    if (fixed->dwSignature != 0xFEEF04BD) return std::nullopt;
    return VersionNumber(static_cast<std::int32_t>(HIWORD(fixed->dwFileVersionMS)),
                         static_cast<std::int32_t>(LOWORD(fixed->dwFileVersionMS)),
                         static_cast<std::int32_t>(HIWORD(fixed->dwFileVersionLS)),
                         static_cast<std::int32_t>(LOWORD(fixed->dwFileVersionLS)));
}

std::optional<std::u16string> ReadVersionString(std::u16string_view path, std::u16string_view name) {
    std::vector<BYTE> block = VersionBlock(path);
    if (block.empty()) return std::nullopt;
    WORD language = 1033;
    WORD codePage = 1250;
    void* data = nullptr;
    UINT length = 0;
    if (VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &data, &length) && length >= 4) {
        const auto* translation = static_cast<const WORD*>(data);
        language = translation[0];
        codePage = translation[1];
    }
    wchar_t prefix[64];
    std::swprintf(prefix, 64, L"\\StringFileInfo\\%04x%04x\\", language, codePage);
    const std::wstring query = prefix + Wide(name);
    if (!VerQueryValueW(block.data(), query.c_str(), &data, &length) || data == nullptr) return std::nullopt;
    const auto* text = static_cast<const wchar_t*>(data);
    // The length counts characters and may include the terminating NUL.
    std::size_t characters = 0;
    while (characters < length && text[characters] != L'\0') ++characters;
    return std::u16string(text, text + characters);
}

std::u16string RunningProgramPath() {
    std::vector<wchar_t> buffer(MAX_PATH + 1);
    for (int attempt = 0; attempt < 6; ++attempt) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) return std::u16string(buffer.data(), buffer.data() + length);
        buffer.resize(buffer.size() * 2);
    }
    return {};
}

}  // namespace maglorin
