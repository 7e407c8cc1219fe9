#pragma once
// The file formats the current frame can be exported in, and which one a save dialog's answer
// asks for.

#include <cstdint>
#include <string_view>

#include "image/clsDIB.h"
#include "image/decoded_picture.h"

namespace maglorin {

enum class ExportFormat { Bmp, Png };

// The export dialog's file types: the 24-bit bitmap first (filter index 1), then PNG (index 2).
inline constexpr const wchar_t* kExportFilter = L"24-bit Bitmap |*.bmp|PNG Image (*.png)|*.png";
inline constexpr unsigned kExportPngFilterIndex = 2;

// The extension of `fileName` decides when it is ".bmp" or ".png" (any case); otherwise the file
// type chosen in the dialog (`filterIndex`, counted from 1 as the system reports it) does, and
// anything but the PNG entry means the bitmap.
ExportFormat ChooseExportFormat(unsigned filterIndex, std::wstring_view fileName);

// The part of the frame a bitmap export writes (columns 0..clipRight, the bottom clipBottom + 1
// rows) as a picture, top row first: the PNG export holds the same pixels as the bitmap export.
// Empty when there is nothing to write or the clip rectangle reaches outside the surface.
DecodedPicture FramePicture(const clsDIB& frame, std::int32_t clipRight, std::int32_t clipBottom);

}  // namespace maglorin
