#include "render_options.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>

#include "frame_name_pattern.h"

namespace maglorin::render_tool {

const char* const kUsage =
    "usage: maglorin-render [options] --out FILE\n"
    "Renders one frame of a kit model without a window and writes it as .bmp or .png;\n"
    "or a turntable of frames, or a contact sheet of several kits (both .png only).\n"
    "  --model FILE          3DS model (default: kit.3ds beside the program)\n"
    "  --texture FILE        kit picture put on materials 0, 1 and 2; with --sheet it may be\n"
    "                        given several times, and a folder stands for every .jpg, .jpeg,\n"
    "                        .png, .bmp and .gif in it, in name order\n"
    "  --background FILE     background picture (default: BG.jpg beside the program, else black)\n"
    "  --style N|NAME        0..8 or Dot, Box, Wireframe, \"Wireframe Map\", \"Wireframe BFC\",\n"
    "                        Flat, Gouraud, Mapped, \"Photo Realistic\"\n"
    "                        (default: Mapped with --texture, else Gouraud)\n"
    "  --size WxH            canvas size in pixels (default 640x480)\n"
    "  --rotate X,Y,Z        model rotation in degrees\n"
    "  --scale S             factor on the fitted model scale (default 1)\n"
    "  --translate X,Y,Z     added to the fitted model position\n"
    "  --camera X,Y,Z        eye position (default 0,0,120)\n"
    "  --target X,Y,Z        point looked at (default 0,0,0)\n"
    "  --focal F             focal length (default 1)\n"
    "  --roll DEG            camera roll in degrees\n"
    "  --light on|off        light the model (default off)\n"
    "  --backfaces on|off    draw faces turned away (default off)\n"
    "  --out FILE            the frame: .bmp (24-bit) or .png\n"
    "  --turntable N         N frames (1..3600) of one turn about the vertical axis: frame i adds\n"
    "                        i*360/N degrees to the Y rotation; --out holds one number field,\n"
    "                        %d, %0Nd or %Nd (%% for a percent sign): --out kit-%03d.png\n"
    "  --sheet COLSxROWS     one .png grid of the same view of every --texture kit, each cell\n"
    "                        --size with the file name under it; more kits than cells is an error\n"
    "  --jobs N              worker threads for --turntable and --sheet (default: one per core)\n"
    "  --help                this text\n";

namespace {

const char* const kCaptions[] = {"Dot",     "Box",     "Wireframe", "Wireframe Map", "Wireframe BFC",
                                 "Flat",    "Gouraud", "Mapped",    "Photo Realistic"};

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool ParseFloat(const std::string& text, float& value) {
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0]))) return false;
    char* end = nullptr;
    errno = 0;
    const double parsed = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || errno == ERANGE || !std::isfinite(parsed)) return false;
    if (std::fabs(parsed) > 1.0e30) return false;
    value = static_cast<float>(parsed);
    return true;
}

bool ParseInt(const std::string& text, int low, int high, int& value) {
    if (text.empty()) return false;
    for (const char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    }
    if (text.size() > 6) return false;
    value = std::atoi(text.c_str());
    return value >= low && value <= high;
}

bool ParseTriple(const std::string& text, Triple& value) {
    const std::size_t first = text.find(',');
    const std::size_t second = first == std::string::npos ? first : text.find(',', first + 1);
    if (second == std::string::npos || text.find(',', second + 1) != std::string::npos) return false;
    return ParseFloat(text.substr(0, first), value.x) &&
           ParseFloat(text.substr(first + 1, second - first - 1), value.y) &&
           ParseFloat(text.substr(second + 1), value.z);
}

bool ParseSwitch(const std::string& text, bool& value) {
    const std::string lower = Lower(text);
    if (lower == "on") value = true;
    else if (lower == "off") value = false;
    else return false;
    return true;
}

bool ParsePair(const std::string& text, int most, int& first, int& second) {
    const std::size_t x = Lower(text).find('x');
    if (x == std::string::npos) return false;
    return ParseInt(text.substr(0, x), 1, most, first) && ParseInt(text.substr(x + 1), 1, most, second);
}

bool ParseSize(const std::string& text, int& width, int& height) { return ParsePair(text, 16384, width, height); }

bool AddTexture(const std::string& text, RenderOptions& options) {
    options.texture = text;
    options.textures.push_back(text);
    return !text.empty();
}

// What the options say together, once every one is read; empty when they agree.
std::string CheckCombination(const RenderOptions& options) {
    if (options.help) return std::string();
    if (options.out.empty()) return "no output file given (--out FILE)";
    const bool sheet = options.sheetColumns > 0;
    if (sheet && options.turntable > 0) return "--turntable and --sheet cannot be combined";
    if (options.textures.size() > 1 && !sheet) return "several --texture options need --sheet";
    if (sheet && options.textures.empty()) return "--sheet needs at least one --texture (a picture or a folder)";
    if (sheet && !HasExtension(options.out, ".png")) return "a contact sheet is written as .png only";
    if (options.turntable > 0) {
        std::string error;
        if (!ParseFrameNamePattern(options.out, error)) return error;
    }
    return std::string();
}

using Setter = std::function<bool(const std::string&, RenderOptions&)>;

const std::map<std::string, std::pair<Setter, const char*>>& OptionTable() {
    using O = RenderOptions;
    static const std::map<std::string, std::pair<Setter, const char*>> table = {
        {"--model", {[](const std::string& v, O& o) { o.model = v; return !v.empty(); }, "a file name"}},
        {"--texture", {AddTexture, "a file name"}},
        {"--background", {[](const std::string& v, O& o) { o.background = v; return !v.empty(); }, "a file name"}},
        {"--out", {[](const std::string& v, O& o) { o.out = v; return !v.empty(); }, "a file name"}},
        {"--style", {[](const std::string& v, O& o) { o.style = ParseStyle(v); return o.style.has_value(); },
                     "0..8 or a style name"}},
        {"--size", {[](const std::string& v, O& o) { return ParseSize(v, o.width, o.height); },
                    "WxH with sides of 1..16384 pixels"}},
        {"--rotate", {[](const std::string& v, O& o) { return ParseTriple(v, o.rotate); }, "X,Y,Z"}},
        {"--translate", {[](const std::string& v, O& o) { return ParseTriple(v, o.translate); }, "X,Y,Z"}},
        {"--scale", {[](const std::string& v, O& o) { return ParseFloat(v, o.scale) && o.scale > 0.0f; },
                     "a number above 0"}},
        {"--camera", {[](const std::string& v, O& o) { Triple t; o.cameraPosition = t;
                          return ParseTriple(v, *o.cameraPosition); }, "X,Y,Z"}},
        {"--target", {[](const std::string& v, O& o) { Triple t; o.cameraTarget = t;
                          return ParseTriple(v, *o.cameraTarget); }, "X,Y,Z"}},
        {"--focal", {[](const std::string& v, O& o) { float f = 0; o.focal = f;
                         return ParseFloat(v, *o.focal) && *o.focal > 0.0f; }, "a number above 0"}},
        {"--roll", {[](const std::string& v, O& o) { float f = 0; o.roll = f; return ParseFloat(v, *o.roll); },
                    "degrees"}},
        {"--light", {[](const std::string& v, O& o) { return ParseSwitch(v, o.light); }, "on or off"}},
        {"--backfaces", {[](const std::string& v, O& o) { return ParseSwitch(v, o.backfaces); }, "on or off"}},
        {"--turntable", {[](const std::string& v, O& o) { return ParseInt(v, 1, kMostTurntableFrames, o.turntable); },
                         "a frame count of 1..3600"}},
        {"--jobs", {[](const std::string& v, O& o) { int n = 0; o.jobs = n; return ParseInt(v, 1, kMostJobs, *o.jobs); },
                    "a thread count of 1..256"}},
        {"--sheet", {[](const std::string& v, O& o) { return ParsePair(v, kMostSheetSide, o.sheetColumns, o.sheetRows); },
                     "COLSxROWS with 1..64 each"}},
    };
    return table;
}

}  // namespace

std::optional<int> ParseStyle(const std::string& text) {
    int index = 0;
    if (ParseInt(text, 0, 8, index)) return index;
    const std::string lower = Lower(text);
    for (int i = 0; i < 9; ++i) {
        if (lower == Lower(kCaptions[i])) return i;
    }
    return std::nullopt;
}

const char* StyleCaption(int style) { return style >= 0 && style < 9 ? kCaptions[style] : "?"; }

ParseResult ParseRenderOptions(const std::vector<std::string>& arguments) {
    RenderOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        if (name == "--help" || name == "-h") {
            options.help = true;
            continue;
        }
        std::string value;
        const std::size_t equals = name.find('=');
        const bool inlineValue = name.rfind("--", 0) == 0 && equals != std::string::npos;
        if (inlineValue) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
        }
        const auto found = OptionTable().find(name);
        if (found == OptionTable().end()) return {std::nullopt, "unknown option '" + name + "'"};
        if (!inlineValue) {
            if (i + 1 >= arguments.size()) return {std::nullopt, "option " + name + " needs a value"};
            value = arguments[++i];
        }
        if (!found->second.first(value, options)) {
            return {std::nullopt, "bad value '" + value + "' for " + name + " (expected " + found->second.second + ")"};
        }
    }
    const std::string conflict = CheckCombination(options);
    if (!conflict.empty()) return {std::nullopt, conflict};
    return {options, std::string()};
}

}  // namespace maglorin::render_tool
