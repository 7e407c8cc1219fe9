#include "windows_tree.h"

#include <cstdio>
#include <cstdlib>

namespace maglorin {
namespace {

std::string Quote(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

const std::filesystem::path& Source() {
    static const std::filesystem::path source = MAGLORIN_SOURCE_DIR;
    return source;
}

std::string Harness() { return Quote(Source() / "scripts/wine-harness"); }

std::string ProbedTreeName() {
    const std::string command = "bash -c '. " + (Source() / "scripts/machine-probe").string() +
                                " && runnable_windows_tree' 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return "win32";
    }
    char line[16] = {};
    const bool read = std::fgets(line, sizeof line, pipe) != nullptr;
    ::pclose(pipe);
    return read && std::string(line).rfind("win64", 0) == 0 ? "win64" : "win32";
}

}  // namespace

std::string WindowsTree::HarnessStart() const { return Harness() + " start " + Quote(WineState()) + " " + name; }

std::string WindowsTree::HarnessStop() const { return Harness() + " stop " + Quote(WineState()); }

WindowsTree RunnableWindowsTree() {
    const char* chosen = std::getenv("MAGLORIN_WINDOWS_TREE");
    WindowsTree tree;
    tree.name = chosen != nullptr && std::string(chosen) == "win64"   ? "win64"
                : chosen != nullptr && std::string(chosen) == "win32" ? "win32"
                                                                      : ProbedTreeName();
    tree.root = Source() / "build" / tree.name;
    return tree;
}

}  // namespace maglorin
