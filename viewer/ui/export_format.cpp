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

DecodedPicture FramePicture(const clsDIB& frame, std::int32_t clipRight, std::int32_t clipBottom) {
    DecodedPicture picture;
    if (!frame.Live() || clipRight < 0 || clipBottom < 0 || clipRight >= frame.Width() ||
        clipBottom >= frame.Height()) {
        return picture;
    }
    picture.width = clipRight + 1;
    picture.height = clipBottom + 1;
    picture.pixels.reserve(static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height));
    const std::int32_t top = frame.Height() - picture.height;
    for (std::int32_t y = 0; y < picture.height; ++y) {
        const std::uint32_t* row =
            frame.Data() + static_cast<std::size_t>(top + y) * static_cast<std::size_t>(frame.Width());
        for (std::int32_t x = 0; x < picture.width; ++x) picture.pixels.push_back(row[x] & 0x00FFFFFFu);
    }
    return picture;
}

}  // namespace maglorin
