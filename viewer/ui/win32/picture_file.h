#pragma once
// Picture files as the window opens them: read through wide paths (any name the file system
// allows), decoded by the portable decoder, and, when that cannot read a file, by the system's
// picture service (metafiles WMF and EMF, icons and cursors).

#include <windows.h>

#include <string>

#include "image/decoded_picture.h"
#include "scene/scene.h"
#include "win32_handles.h"

namespace maglorin::win32 {

// False when the file cannot be read or decoded; `error` then says why.
bool LoadPictureFile(const std::wstring& path, DecodedPicture& picture, std::wstring& error);

// True when the file can be opened and is not empty.
bool PictureFileExists(const std::wstring& path);

// Loads the picture at `path` into material `index`'s two texture surfaces (as the portable core
// does, bottom row first), falling back to the window's own reader for names and formats the
// core cannot open. A file that cannot be used leaves the material without texture.
void LoadTextureOnMaterial(Scene& scene, std::int32_t index, const std::wstring& path);

// Puts a decoded picture into material `index`'s two texture surfaces, as a load does.
void PutPictureOnMaterial(Scene& scene, std::int32_t index, const DecodedPicture& picture);

// A screen-compatible bitmap of `picture` scaled to fit width x height (aspect kept, centred on
// `background`), for showing a picture in a control.
BitmapHandle MakeThumbnail(const DecodedPicture& picture, int width, int height, COLORREF background);

// Copies a top-row-first picture to a DC, stretched to the rectangle with halftone smoothing.
void DrawPicture(HDC dc, const DecodedPicture& picture, const RECT& target);

}  // namespace maglorin::win32
