#pragma once
// The pictures shown by the materials: loading a picture file into a material's two texture
// surfaces, the picture-file browser, small path helpers, and the mapping of a face's file
// coordinates to texel coordinates of the sampled texture (tiling, offset, rotation).

#include <cstdint>
#include <functional>
#include <string>

#include "scene/scene.h"

namespace maglorin {

// True when the file's length can be read and is not 0 (a missing, unreadable or empty file is
// not there as far as the viewer is concerned).
bool FileExists(const std::string& path);

// The path without its last component, keeping the final separator ("C:\a\kit.3ds" -> "C:\a\");
// "" when there is no separator. Both "\" and "/" separate components.
std::string FolderOf(const std::string& path);
// The text after the last separator (the whole path when there is none); "-" for "".
std::string FileNameOf(const std::string& path);

// Decodes the picture at `path` (JPEG baseline and progressive, BMP, GIF, PNG) into both texture
// surfaces of material `materialIndex` at the picture's own size, bottom row first. A missing,
// empty or undecodable file leaves the material untextured (HasTexture false, both surfaces
// released) without a message. An index outside the materials changes nothing.
void LoadMaterialTexture(Scene& scene, std::int32_t materialIndex, const std::string& path);

// What the open dialog of BrowsePicture is asked to show.
struct PictureDialogRequest {
    std::string Filter;
    std::string DialogTitle;
    std::string InitDir;
    std::string FileName;  // starts empty
};

// The window layer's open dialog: returns the chosen path, "" when cancelled. The window installs
// the real one; tools and tests pass their own.
using PictureDialog = std::function<std::string(const PictureDialogRequest&)>;

inline constexpr const char* kPictureFilter =
    "All Picture Files|*.bmp;*.dib;*.gif;*.jpg;*.wmf;*.emf;*.ico;*.cur |"
    "Bitmaps (*.bmp;*.dib)|*.bmp;*.dib|"
    "GIF Images (*.gif)|*.gif|"
    "JPEG Images (*.jpg)|*.jpg,*.jpeg|"
    "All Files (*.*)|*.*";

// Asks `dialog` for a picture file; "" when cancelled or when no dialog is given.
std::string BrowsePicture(const PictureDialog& dialog, const std::string& initDir, const std::string& title);

// Fills MappedTexCoords of the face's three vertices with texel coordinates of the material's
// sampled texture: u * UScale * (Width - 1) - UOffset * (Width - 1), likewise v with the height,
// then turned by Rotation degrees about texel (0, 0) with cos and sin rounded to 6 decimals.
// Nothing happens when the mesh has no mapping coordinates or the material no texture, and
// nothing for a face, material or vertex index outside its table.
void MapFaceTexCoords(Scene& scene, std::int32_t meshIndex, std::int32_t faceIndex);

// cos and sin of `degrees` (converted to radians in single precision), each computed in double
// and rounded to 6 decimal places, halves to even.
struct RoundedTurn {
    float cs = 1.0f;
    float sn = 0.0f;
};
RoundedTurn RoundedCosSin(float degrees);

}  // namespace maglorin
