#pragma once
// Writes the sample kit files into one folder: kit.3ds, BG.jpg, kit-home.jpg, kit-away.jpg and
// kit-template.png.

#include <string>
#include <vector>

namespace maglorin::samples {

inline constexpr const char* kModelFile = "kit.3ds";
inline constexpr const char* kBackgroundFile = "BG.jpg";
inline constexpr const char* kHomeKitFile = "kit-home.jpg";
inline constexpr const char* kAwayKitFile = "kit-away.jpg";
inline constexpr const char* kTemplateFile = "kit-template.png";
inline constexpr int kTextureSize = 512;
inline constexpr int kBackgroundWidth = 800;
inline constexpr int kBackgroundHeight = 600;

// The bytes of kit.3ds, its materials pointing at the home kit beside it.
std::vector<std::uint8_t> KitModelBytes();

// Writes every file; false (with `error` naming the file) when one cannot be written. A file
// that could not be written completely is removed.
bool WriteSampleKit(const std::string& folder, std::string& error);

}  // namespace maglorin::samples
