#include "ui/win32/picture_file.h"

#include <ole2.h>
#include <olectl.h>

#include <vector>

#include "image/picture_decoder.h"
#include "image/picture_format.h"
#include "image/picture_limits.h"
#include "scene/material_textures.h"
#include "ui/win32/text_encoding.h"

namespace maglorin::win32 {

namespace {

bool ReadWholeFile(const std::wstring& path, std::vector<std::uint8_t>& bytes, std::wstring& error) {
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        error = L"cannot open the file";
        return false;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart <= 0 || static_cast<std::uint64_t>(size.QuadPart) > kMaxPictureFileBytes) {
        error = L"the file is empty or too large";
        return false;
    }
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
        read != bytes.size()) {
        error = L"cannot read the file";
        return false;
    }
    return true;
}

// Draws an OLE picture into a 32-bit top-down DIB section and takes its pixels.
bool RenderOlePicture(IPicture* ole, DecodedPicture& picture) {
    OLE_XSIZE_HIMETRIC himetricWidth = 0;
    OLE_YSIZE_HIMETRIC himetricHeight = 0;
    ole->get_Width(&himetricWidth);
    ole->get_Height(&himetricHeight);
    WindowDc screen(nullptr);
    const int width = MulDiv(himetricWidth, GetDeviceCaps(screen.Get(), LOGPIXELSX), 2540);
    const int height = MulDiv(himetricHeight, GetDeviceCaps(screen.Get(), LOGPIXELSY), 2540);
    std::string refused;
    if (!PictureSizeAllowed(width, height, refused)) return false;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    MemoryDcHandle dc(CreateCompatibleDC(screen.Get()));
    BitmapHandle bitmap(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dc || !bitmap || bits == nullptr) return false;
    {
        SelectScope select(dc.Get(), bitmap.Get());
        RECT all{0, 0, width, height};
        FillRect(dc.Get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        if (FAILED(ole->Render(dc.Get(), 0, 0, width, height, 0, himetricHeight, himetricWidth,
                               -himetricHeight, nullptr))) {
            return false;
        }
        GdiFlush();
    }
    picture.width = width;
    picture.height = height;
    const auto* words = static_cast<const std::uint32_t*>(bits);
    picture.pixels.assign(words, words + static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (std::uint32_t& word : picture.pixels) word &= 0x00FFFFFFu;
    return true;
}

bool DecodeWithPictureService(const std::vector<std::uint8_t>& bytes, DecodedPicture& picture) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (memory == nullptr) return false;
    void* target = GlobalLock(memory);
    if (target == nullptr) {
        GlobalFree(memory);
        return false;
    }
    std::copy(bytes.begin(), bytes.end(), static_cast<std::uint8_t*>(target));
    GlobalUnlock(memory);
    ComInterface<IStream> stream;
    // The stream owns the memory from here on (fDeleteOnRelease).
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, stream.Receive()))) {
        GlobalFree(memory);
        return false;
    }
    ComInterface<IPicture> ole;
    if (FAILED(OleLoadPicture(stream.Get(), static_cast<LONG>(bytes.size()), FALSE, IID_IPicture,
                              reinterpret_cast<void**>(ole.Receive())))) {
        return false;
    }
    return RenderOlePicture(ole.Get(), picture);
}

}  // namespace

bool PictureFileExists(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (path.empty() || !GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return false;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
    return data.nFileSizeHigh != 0 || data.nFileSizeLow != 0;
}

bool LoadPictureFile(const std::wstring& path, DecodedPicture& picture, std::wstring& error) {
    picture = DecodedPicture{};
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(path, bytes, error)) return false;
    std::string reason;
    if (DecodePictureMemory(bytes.data(), bytes.size(), picture, reason) && !picture.Empty()) return true;
    // The system's picture service reads the other kinds the open dialog offers (metafiles, icons,
    // cursors). A JPEG, BMP or GIF that the decoder refused (damaged, or larger than the picture
    // ceiling) is never handed to it: the refusal stands.
    if (SniffPictureFormat(bytes.data(), bytes.size()) == PictureFormat::Unknown &&
        DecodeWithPictureService(bytes, picture) && !picture.Empty()) {
        return true;
    }
    picture = DecodedPicture{};
    error = L"not a picture the viewer can read (" + Utf8ToWide(reason) + L")";
    return false;
}

void LoadTextureOnMaterial(Scene& scene, std::int32_t index, const std::wstring& path) {
    if (index < 0 || index > scene.MaterialUBound || static_cast<std::size_t>(index) >= scene.Materials.size()) {
        return;
    }
    LoadMaterialTexture(scene, index, WideToUtf8(path));
    Material& material = scene.Materials[static_cast<std::size_t>(index)];
    if (material.HasTexture != kFalse16 || !PictureFileExists(path)) return;
    DecodedPicture picture;
    std::wstring error;
    if (!LoadPictureFile(path, picture, error)) return;
    PutPictureOnMaterial(scene, index, picture);
}

void PutPictureOnMaterial(Scene& scene, std::int32_t index, const DecodedPicture& picture) {
    if (index < 0 || index > scene.MaterialUBound || static_cast<std::size_t>(index) >= scene.Materials.size() ||
        picture.Empty()) {
        return;
    }
    Material& material = scene.Materials[static_cast<std::size_t>(index)];
    material.Texture.CreateFromPictureBox(picture, picture.width, picture.height, material.TexturePixels, true);
    material.TextureWork.CreateFromPictureBox(picture, picture.width, picture.height,
                                              material.TextureWorkPixels, true);
    if (material.Texture.Live() && material.TextureWork.Live()) {
        material.HasTexture = kTrue16;
    } else {
        material.Texture.Delete(material.TexturePixels);
        material.TextureWork.Delete(material.TextureWorkPixels);
    }
}

void DrawPicture(HDC dc, const DecodedPicture& picture, const RECT& target) {
    if (picture.Empty()) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const int previous = SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchDIBits(dc, target.left, target.top, target.right - target.left, target.bottom - target.top, 0, 0,
                  picture.width, picture.height, picture.pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
    SetStretchBltMode(dc, previous);
}

BitmapHandle MakeThumbnail(const DecodedPicture& picture, int width, int height, COLORREF background) {
    WindowDc screen(nullptr);
    BitmapHandle bitmap(CreateCompatibleBitmap(screen.Get(), width, height));
    MemoryDcHandle dc(CreateCompatibleDC(screen.Get()));
    if (!bitmap || !dc) return BitmapHandle();
    SelectScope select(dc.Get(), bitmap.Get());
    BrushHandle brush(CreateSolidBrush(background));
    RECT all{0, 0, width, height};
    FillRect(dc.Get(), &all, brush.Get());
    if (!picture.Empty()) {
        // Fit inside, keeping the picture's proportions.
        int w = width;
        int h = MulDiv(picture.height, width, picture.width);
        if (h > height) {
            h = height;
            w = MulDiv(picture.width, height, picture.height);
        }
        const RECT target{(width - w) / 2, (height - h) / 2, (width - w) / 2 + w, (height - h) / 2 + h};
        DrawPicture(dc.Get(), picture, target);
    }
    return bitmap;
}

}  // namespace maglorin::win32
