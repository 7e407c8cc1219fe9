// make-samples <folder>: writes the sample kit (model, background, kit textures, template).
#include <cstdio>
#include <string>

#include "sample_kit.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-samples <output folder>\n");
        return 2;
    }
    std::string error;
    if (!maglorin::samples::WriteSampleKit(argv[1], error)) {
        std::fprintf(stderr, "make-samples: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
