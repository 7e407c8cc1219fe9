#pragma once
// The command line of maglorin-render: which model, pictures, style, canvas, model transform,
// camera and switches a frame is rendered with, and where it is written.

#include <optional>
#include <string>
#include <vector>

namespace maglorin::render_tool {

struct Triple {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

struct RenderOptions {
    std::string model;                  // empty: kit.3ds beside the program
    std::string texture;                // empty: only the textures the model names
    std::vector<std::string> textures;  // every --texture in order (several only with --sheet)
    std::string background;             // empty: BG.jpg beside the program when it is there
    std::optional<int> style;           // empty: "Mapped" with a texture, "Gouraud" without
    int width = 640;
    int height = 480;
    Triple rotate;                      // degrees about x, y, z
    float scale = 1.0f;                 // times the fitted scale
    Triple translate;                   // added to the fitted translation, world units
    std::optional<Triple> cameraPosition;
    std::optional<Triple> cameraTarget;
    std::optional<float> focal;
    std::optional<float> roll;
    bool light = false;
    bool backfaces = false;
    std::string out;                    // with --turntable: a name with one frame-number field
    int turntable = 0;                  // frames of one turn about the vertical axis; 0: one frame
    std::optional<int> jobs;            // worker threads; empty: one per core
    int sheetColumns = 0;               // --sheet COLSxROWS; 0: no contact sheet
    int sheetRows = 0;
    bool help = false;
};

// Most frames a turntable takes.
inline constexpr int kMostTurntableFrames = 3600;
// Most worker threads --jobs takes, and most columns or rows of a contact sheet.
inline constexpr int kMostJobs = 256;
inline constexpr int kMostSheetSide = 64;

struct ParseResult {
    std::optional<RenderOptions> options;
    std::string error;  // set when options is empty
};

// Parses the arguments after the program name. Every option takes exactly one value
// ("--size 320x240" or "--size=320x240"), except --help.
ParseResult ParseRenderOptions(const std::vector<std::string>& arguments);

// A style given as its index 0..8 or its menu caption (case does not matter).
std::optional<int> ParseStyle(const std::string& text);

// The menu caption of a style index ("Dot" .. "Photo Realistic").
const char* StyleCaption(int style);

extern const char* const kUsage;

}  // namespace maglorin::render_tool
