#include "turntable_job.h"

#include <cstdio>

#include "frame_name_pattern.h"
#include "frame_scene.h"
#include "render_job.h"
#include "terminal.h"

namespace maglorin::render_tool {

float TurntableAngle(float baseY, int index, int count) {
    return static_cast<float>(static_cast<double>(baseY) + static_cast<double>(index) * 360.0 / count);
}

void RenderTurntableFrame(const Scene& prepared, int index, int count, Scene& frame) {
    CopySceneForFrame(prepared, frame);
    frame.ModelRotation.y = TurntableAngle(prepared.ModelRotation.y, index, count);
    RenderPreparedFrame(frame);
}

int RenderTurntable(const RenderOptions& options, const std::string& programFolder, const FrameProgress& progress) {
    std::string error;
    const std::optional<FrameNamePattern> pattern = ParseFrameNamePattern(options.out, error);
    if (!pattern || options.turntable < 1) {
        std::fprintf(stderr, "maglorin-render: %s\n", pattern ? "no frame count" : error.c_str());
        return kExitUsage;
    }
    Scene prepared;
    if (!PrepareScene(prepared, options, programFolder, error)) {
        std::fprintf(stderr, "maglorin-render: %s\n", error.c_str());
        return kExitFailed;
    }
    const int count = options.turntable;
    const FrameWork work = [&](int index, std::string& frameError) {
        Scene frame;
        RenderTurntableFrame(prepared, index, count, frame);
        DecodedPicture picture;
        if (!FramePicture(frame, picture)) {
            frameError = "frame " + std::to_string(index) + ": no frame surface";
            return false;
        }
        return WritePngAtomically(picture, FrameFileName(*pattern, index), frameError);
    };
    if (!RunFrameWork(count, WorkerCount(options.jobs, count), work, progress, error)) {
        if (progress) std::fputc('\n', stderr);  // end the progress line before the reason
        std::fprintf(stderr, "maglorin-render: turntable stopped: %s\n", error.c_str());
        return kExitFailed;
    }
    std::printf("%s: %d frames of %dx%d, style \"%s\"\n", options.out.c_str(), count, options.width, options.height,
                StyleCaption(prepared.CurrentStyle));
    return kExitOk;
}

int RunTurntable(const RenderOptions& options, const std::string& programFolder) {
    FrameProgress progress;
    if (IsTerminal(stderr)) {
        progress = [](int done, int count) {
            std::fprintf(stderr, "\rmaglorin-render: frame %d of %d", done, count);
            if (done == count) std::fputc('\n', stderr);
            std::fflush(stderr);
        };
    }
    return RenderTurntable(options, programFolder, progress);
}

}  // namespace maglorin::render_tool
