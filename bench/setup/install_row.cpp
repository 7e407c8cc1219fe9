#include "install_row.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "windows_tree.h"

namespace maglorin {
namespace {

std::string Quote(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

// Wine's drive Z: is the Linux root.
std::string WindowsPath(const std::filesystem::path& path) {
    std::string text = "Z:" + std::filesystem::absolute(path).string();
    for (char& c : text) {
        if (c == '/') {
            c = '\\';
        }
    }
    return text;
}

// The ProductCode line of the tree's setup.ini (its UTF-8 source beside it).
std::string ProductCode(const std::filesystem::path& dist) {
    std::ifstream in(dist / "setup.ini.utf8");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("ProductCode=", 0) == 0) {
            return line.substr(12);
        }
    }
    return std::string();
}

bool Unpack(const std::filesystem::path& archive, const std::filesystem::path& into) {
    const std::string command = "7zz x -bd -y -o" + Quote(into) + " " + Quote(archive) + " >/dev/null";
    return std::system(command.c_str()) == 0;
}

// Runs install-timing in the tree's Wine session; its "setup S msiexec M extract E" line.
struct InstallTimes {
    double setup = 0;
    double msiexec = 0;
    double extract = 0;
};

bool TimeUnderWine(const WindowsTree& tree, const std::string& arguments, InstallTimes& times) {
    const std::filesystem::path scripts = std::filesystem::path(MAGLORIN_SOURCE_DIR) / "scripts";
    if (std::system((tree.HarnessStart() + " >/dev/null").c_str()) != 0) {
        return false;
    }
    const std::string command = "MAGLORIN_WINE_STATE=" + Quote(tree.WineState()) + " " +
                                Quote(scripts / "wine-run") + " " + Quote(tree.Bin() / "install-timing.exe") + " " +
                                arguments;
    FILE* pipe = ::popen(command.c_str(), "r");
    bool ok = false;
    if (pipe != nullptr) {
        ok = std::fscanf(pipe, "setup %lf msiexec %lf extract %lf", &times.setup, &times.msiexec, &times.extract) == 3;
        ok = ::pclose(pipe) == 0 && ok;
    }
    std::system((tree.HarnessStop() + " >/dev/null").c_str());
    return ok;
}

}  // namespace

int ReportInstallRow(const std::filesystem::path& work) {
    const WindowsTree tree = RunnableWindowsTree();
    const std::filesystem::path dist = tree.root / "dist";
    const std::filesystem::path package = dist / "maglorin-setup.exe";
    const std::string productCode = ProductCode(dist);
    if (!std::filesystem::exists(package) || !std::filesystem::exists(tree.Bin() / "install-timing.exe") ||
        productCode.empty()) {
        std::printf("%-34s skipped: build the %s tree's dist and install-timing first\n", "install under Wine",
                    tree.name.c_str());
        return 0;
    }
    const std::filesystem::path source = work / "msi-source";
    std::filesystem::remove_all(source);
    if (!Unpack(dist / "FILES.7z", source) || !Unpack(dist / "setup.msi.7z", source)) {
        std::fprintf(stderr, "setup-bench: cannot unpack the shipped archives\n");
        return 1;
    }
    const std::string arguments =
        "'" + WindowsPath(package) + "' '" + WindowsPath(source / "setup.msi") + "' '" + productCode + "'";
    InstallTimes times;
    if (!TimeUnderWine(tree, arguments, times)) {
        std::fprintf(stderr, "setup-bench: the install timing under Wine failed\n");
        return 1;
    }
    std::printf("%-34s %8.2f s      %-8s %8.2f s      ratio %.2fx (target <= 1.3x)\n",
                "install (maglorin-setup.exe)", times.setup, "msiexec", times.msiexec, times.setup / times.msiexec);
    std::printf("%-34s %8.2f s\n", "  of which setup's extraction", times.extract);
    std::filesystem::remove_all(source);
    return 0;
}

}  // namespace maglorin
