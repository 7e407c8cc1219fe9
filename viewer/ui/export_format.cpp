#include "ui/export_format.h"

#include <cwctype>
#include <string>

namespace maglorin {

namespace {

// The text after the last dot of the last path component, in lower case; empty when none.
std::wstring LowerExtension(std::wstring_view fileName) {
    const std::size_t separator = fileName.find_last_of(L"\\/");
    const std::wstring_view name = separator == std::wstring_view::npos ? fileName : fileName.substr(separator + 1);
    const std::size_t dot = name.rfind(L'.');
    if (dot == std::wstring_view::npos) return std::wstring();
    std::wstring extension(name.substr(dot + 1));
    for (wchar_t& c : extension) c = static_cast<wchar_t>(std::towlower(static_cast<std::wint_t>(c)));
    return extension;
}

}  // namespace

ExportFormat ChooseExportFormat(unsigned filterIndex, std::wstring_view fileName) {
    const std::wstring extension = LowerExtension(fileName);
    if (extension == L"png") return ExportFormat::Png;
    if (extension == L"bmp") return ExportFormat::Bmp;
    return filterIndex == kExportPngFilterIndex ? ExportFormat::Png : ExportFormat::Bmp;
}

}  // namespace maglorin
