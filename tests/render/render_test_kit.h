#pragma once
// The sample kit (kit.3ds, kit-home.jpg and BG.jpg, generated into the bin folder beside the
// tests) prepared the way maglorin-render prepares it, for the pipeline's tests.

#include <cstdlib>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

#include "render_job.h"
#include "render_options.h"
#include "scene/scene.h"

namespace maglorin::test_support {

// The bin folder with a trailing separator (MAGLORIN_BIN, else the working folder).
inline std::string BinFolder() {
    const char* bin = std::getenv("MAGLORIN_BIN");
    if (bin == nullptr || *bin == '\0') return std::string();
    std::string folder = bin;
    if (folder.back() != '/' && folder.back() != '\\') folder += '/';
    return folder;
}

// Options for the sample kit with its home picture and background at width x height.
inline render_tool::RenderOptions KitOptions(int width, int height) {
    render_tool::RenderOptions options;
    options.model = BinFolder() + "kit.3ds";
    options.texture = BinFolder() + "kit-home.jpg";
    options.background = BinFolder() + "BG.jpg";
    options.width = width;
    options.height = height;
    options.out = "unused.png";
    return options;
}

// Prepares `scene` (which must be fresh) from `options`; false with the reason in `error`.
inline bool PrepareKit(Scene& scene, const render_tool::RenderOptions& options, std::string& error) {
    return render_tool::PrepareScene(scene, options, BinFolder(), error);
}

// FNV-1a over the frame's words: a short name for a whole frame in failure messages.
inline std::uint64_t FrameHash(const PixelView& frame) {
    std::uint64_t hash = 1469598103934665603ull;
    const std::size_t count = static_cast<std::size_t>(frame.width) * static_cast<std::size_t>(frame.height);
    for (std::size_t i = 0; i < count; ++i) {
        hash = (hash ^ frame.data[i]) * 1099511628211ull;
    }
    return hash;
}

// A fresh empty folder under the temporary folder, removed with everything in it at the end.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name)
        : path_(std::filesystem::temp_directory_path() /
                ("maglorin-" + name + "-" + std::to_string(std::random_device{}()) + "-" +
                 std::to_string(std::random_device{}()))) {
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string File(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace maglorin::test_support
