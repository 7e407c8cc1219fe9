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
    std::string out;
    bool help = false;
};

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
