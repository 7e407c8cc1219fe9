// render-bench: how long a frame of each visual style takes on the sample kit (kit.3ds with
// kit-home.jpg over BG.jpg, beside the program) at 1024 x 768, next to the memory-bound floor of
// a frame: the plain copy of the background into it. Each style's frame is then taken apart:
// projection, lighting pass, face sort and the rest (background copy, classification, clipping,
// triangulation and the fills).
//
// Before the frames: a large JPEG decoded by the viewer's decoder and by stb_image's, and its
// halftone resampling to the frame size. After them: a turntable of the chosen style (default
// "Mapped"), each frame copied from the prepared scene and rendered, then also written as a .png,
// on one core and on every core.
//
//   render-bench [--frames N] [--light on|off] [--backfaces on|off] [--size WxH] [--style N|NAME]
//                [--decodes N] [--turntable N]
#include <time.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "geometry/face_ordering.h"
#include "geometry/projection.h"
#include "picture_decode_bench.h"
#include "program_folder.h"
#include "render/lighting_pass.h"
#include "render/modVisualisation.h"
#include "render_job.h"
#include "render_options.h"
#include "turntable_job.h"

namespace maglorin::render_bench {
namespace {

// CPU time of this thread in milliseconds: the machine is shared, so the time the frame loop
// actually ran on its core says more than the wall clock.
double ThreadMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1.0e6;
}

// Milliseconds per call of `work`: the fastest of three rounds of `frames` calls each (other
// work on a shared machine only ever adds time to a round).
double MillisecondsPer(int frames, const std::function<void()>& work) {
    work();  // warm the caches and the working tables
    double best = 0.0;
    for (int round = 0; round < 3; ++round) {
        const double start = ThreadMilliseconds();
        for (int i = 0; i < frames; ++i) work();
        const double spent = (ThreadMilliseconds() - start) / frames;
        if (round == 0 || spent < best) best = spent;
    }
    return best;
}

bool IsSortedStyle(int style) { return style >= kStyleWireframeBFC; }

// Lighting as the style does it (the sorted styles over the list the sort left behind).
void LightLikeStyle(Scene& scene, int style) {
    const bool light = scene.LightOn != kFalse16 || style == kStyleGouraud || style == kStylePhotoRealistic;
    if (style == kStyleBox) return;
    if (style == kStyleWireframeMap) LightAllMeshes(scene, false);
    else if (IsSortedStyle(style)) LightSortedFaces(scene, light);
    else LightAllMeshes(scene, light);
}

// Wall-clock seconds of a whole turntable of `count` frames on `workers` threads, the fastest of
// three rounds; each frame is copied from the prepared scene and rendered, and written as a .png
// into `folder` unless that is empty. False when a frame could not be written.
bool TurntableSeconds(const Scene& prepared, int count, int workers, const std::string& folder, double& seconds) {
    const render_tool::FrameWork work = [&](int index, std::string& error) {
        Scene frame;
        render_tool::RenderTurntableFrame(prepared, index, count, frame);
        if (folder.empty()) return true;
        DecodedPicture picture;
        return render_tool::FramePicture(frame, picture) &&
               render_tool::WritePngAtomically(picture, folder + "/frame-" + std::to_string(index) + ".png", error);
    };
    for (int round = 0; round < 3; ++round) {
        const auto start = std::chrono::steady_clock::now();
        std::string error;
        if (!render_tool::RunFrameWork(count, workers, work, {}, error)) {
            std::fprintf(stderr, "render-bench: %s\n", error.c_str());
            return false;
        }
        const double spent = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (round == 0 || spent < seconds) seconds = spent;
    }
    return true;
}

// Frames per second of a turntable on one core and on every core, and their ratio: rendering
// alone, then rendering with each frame written as a .png file (what --turntable does).
int PrintTurntableRows(const Scene& prepared, int count) {
    const int cores = render_tool::WorkerCount(std::nullopt, count);
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("render-bench-turntable-" + std::to_string(std::random_device{}()));
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    double renderOne = 0.0, renderAll = 0.0, writeOne = 0.0, writeAll = 0.0;
    const bool ok = !error && TurntableSeconds(prepared, count, 1, std::string(), renderOne) &&
                    TurntableSeconds(prepared, count, cores, std::string(), renderAll) &&
                    TurntableSeconds(prepared, count, 1, folder.string(), writeOne) &&
                    TurntableSeconds(prepared, count, cores, folder.string(), writeAll);
    std::filesystem::remove_all(folder, error);
    if (!ok) return 1;
    std::printf("\nturntable of %d frames in \"%s\": wall clock, fastest of 3 runs; %d worker threads on %u cores\n",
                count, render_tool::StyleCaption(prepared.CurrentStyle), cores, std::thread::hardware_concurrency());
    std::printf("%-20s %12s %12s %8s\n", "", "1 core", "all cores", "ratio");
    std::printf("%-20s %8.1f fps %8.1f fps %7.2fx\n", "turntable (render)", count / renderOne, count / renderAll,
                renderOne / renderAll);
    std::printf("%-20s %8.1f fps %8.1f fps %7.2fx\n", "turntable (+ .png)", count / writeOne, count / writeAll,
                writeOne / writeAll);
    return 0;
}

int Run(const std::vector<std::string>& arguments) {
    int frames = 300;
    int only = -1;  // every style
    int decodes = 10;
    int turntable = 36;
    render_tool::RenderOptions options;
    options.width = 1024;
    options.height = 768;
    options.out = "unused.png";
    for (std::size_t i = 0; i + 1 < arguments.size(); i += 2) {
        const std::string& name = arguments[i];
        const std::string& value = arguments[i + 1];
        if (name == "--frames") frames = std::atoi(value.c_str());
        else if (name == "--light") options.light = value == "on";
        else if (name == "--backfaces") options.backfaces = value == "on";
        else if (name == "--style") only = render_tool::ParseStyle(value).value_or(-1);
        else if (name == "--decodes") decodes = std::atoi(value.c_str());
        else if (name == "--turntable") turntable = std::atoi(value.c_str());
        else if (name == "--size") std::sscanf(value.c_str(), "%dx%d", &options.width, &options.height);
        else {
            std::fprintf(stderr, "render-bench: unknown option %s\n", name.c_str());
            return 2;
        }
    }
    if (frames < 1 || options.width < 1 || options.height < 1) {
        std::fprintf(stderr, "render-bench: bad frame count or size\n");
        return 2;
    }
    if (decodes > 0) PrintPictureDecodeRows(decodes, options.width, options.height, MillisecondsPer);
    const std::string folder = render_tool::ProgramFolder();
    options.texture = folder + "kit-home.jpg";
    Scene scene;
    std::string error;
    if (!render_tool::PrepareScene(scene, options, folder, error)) {
        std::fprintf(stderr, "render-bench: %s\n", error.c_str());
        return 1;
    }
    std::size_t faces = 0, vertices = 0;
    for (std::int32_t m = 0; m <= scene.MeshUBound; ++m) {
        faces += static_cast<std::size_t>(scene.Meshes[static_cast<std::size_t>(m)].FaceUBound + 1);
        vertices += static_cast<std::size_t>(scene.Meshes[static_cast<std::size_t>(m)].VertexUBound + 1);
    }
    std::printf("sample kit: %zu meshes, %zu vertices, %zu faces; %dx%d, %d frames per style, light %s, back faces %s\n",
                static_cast<std::size_t>(scene.MeshUBound + 1), vertices, faces, options.width, options.height, frames,
                options.light ? "on" : "off", options.backfaces ? "on" : "off");

    const std::size_t bytes = static_cast<std::size_t>(options.width) * options.height * 4;
    const double copyMs = MillisecondsPer(frames, [&] {
        std::memcpy(scene.FramePixels.data, scene.BackgroundPixels.data, bytes);
    });
    std::printf("times are CPU time of the rendering thread (one core), fastest of 3 rounds of %d frames\n", frames);
    std::printf("background copy (floor): %8.3f ms/frame %9.1f fps\n\n", copyMs, 1000.0 / copyMs);
    std::printf("%-16s %9s %9s %7s | %9s %9s %9s %9s  (ms/frame)\n", "style", "ms/frame", "fps", "x copy",
                "project", "light", "sort", "fill+copy");

    RenderWork work;
    for (int style = 0; style < kVisualStyleCount; ++style) {
        if (only >= 0 && style != only) continue;
        scene.CurrentStyle = style;
        const double frameMs = MillisecondsPer(frames, [&] {
            ProjectVertices(scene);
            RenderFrame(scene, work);
        });
        const double projectMs = MillisecondsPer(frames, [&] { ProjectVertices(scene); });
        double sortMs = 0.0;
        if (IsSortedStyle(style)) {
            sortMs = MillisecondsPer(frames, [&] {
                if (style != kStyleWireframeBFC && scene.DoubleSided != kFalse16) BuildBackList(scene);
                BuildFrontList(scene);
            });
        }
        const double lightMs = MillisecondsPer(frames, [&] { LightLikeStyle(scene, style); });
        const double rest = frameMs - projectMs - sortMs - lightMs;
        std::printf("%-16s %9.3f %9.1f %7.2f | %9.3f %9.3f %9.3f %9.3f\n", render_tool::StyleCaption(style), frameMs,
                    1000.0 / frameMs, frameMs / copyMs, projectMs, lightMs, sortMs, rest);
    }
    if (turntable <= 0) return 0;
    scene.CurrentStyle = only >= 0 ? only : kStyleMapped;
    return PrintTurntableRows(scene, turntable);
}

}  // namespace
}  // namespace maglorin::render_bench

int main(int argc, char** argv) {
    return maglorin::render_bench::Run(std::vector<std::string>(argv + 1, argv + argc));
}
