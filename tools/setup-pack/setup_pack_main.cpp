// setup-pack: builds setup packages from a manifest, lists and verifies them.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "name_text.h"
#include "package_manifest.h"
#include "package_writer.h"
#include "payload_reader.h"

namespace maglorin {
namespace {

inline constexpr int kExitUsage = 1;  // bad command line, manifest or sources (reader codes are 2, 3, 5)

constexpr const char* kHelp = R"(Usage:
  setup-pack build [--image FILE] MANIFEST OUTPUT
      Writes the package OUTPUT: the program image, the data of every entry, the entry table,
      the external-file table and the footer with the MD5 of everything before it. --image
      names the program image and replaces the manifest's 'image' line. The package is checked
      first (names, sizes, configuration place) and read back after writing; nothing is left
      at OUTPUT when either fails.
  setup-pack list PACKAGE
      Prints 'flags 0xHEX NAMES', 'digest DIGITS', one 'entry GROUP TYPE 0xFLAGS SIZE NAME' line
      per entry and one 'external TYPE NAME' line per external file.
  setup-pack verify PACKAGE
      Checks the footer, both tables and the digest; prints 'ok' or the reason.
  setup-pack --help

Manifest (UTF-8, one statement per line, '#' starts a comment line):
  image PATH                          program image the package starts with
  flags FLAG...                       FilesBesideSetup HasConfiguration VerifyDigest
                                      DatabaseInArchive ExtractOnRequest AskLanguage
                                      BesideFilesCompressed MainIsPatch UserLanguageFirst
                                      ConfigurationInPayload, or numbers such as 0x21A
  entry GROUP TYPE KEEP NAME SOURCE   GROUP, TYPE decimal; KEEP 'keep' or 'remove';
                                      NAME relative, '\' between folders
  configuration SOURCE [NAME]         entry 0 3 remove NAME (default setup.ini), and sets
                                      HasConfiguration and ConfigurationInPayload
  external TYPE NAME                  a file beside setup
  Fields with spaces go in double quotes ("" for a quote). Relative paths are taken from the
  manifest's folder.

Exit status: 0 success; 1 usage, manifest or source problem; otherwise the reader's result:
  2 cannot read the package, 3 out of memory, 5 damaged package (also a digest mismatch).
)";

std::string Hex32(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

int ReportReaderFailure(const std::string& package, int result) {
    const char* reason = result == kResultReadError     ? "cannot read the package"
                         : result == kResultOutOfMemory ? "out of memory"
                                                        : "This archive is corrupted.";
    std::cerr << "setup-pack: " << package << ": " << reason << " (result " << result << ")\n";
    return result;
}

int List(const std::string& package) {
    PayloadReader reader;
    if (int result = reader.Open(std::filesystem::path(std::u8string(package.begin(), package.end())));
        result != kResultSuccess) {
        return ReportReaderFailure(package, result);
    }
    std::cout << "flags " << Hex32(static_cast<std::uint32_t>(reader.Flags())) << ' '
              << PackageFlagsText(reader.Flags()) << '\n';
    std::cout << "digest " << reader.DigestText() << '\n';
    for (const PayloadEntry& entry : reader.Entries()) {
        std::cout << "entry " << static_cast<std::uint32_t>(entry.group) << ' '
                  << static_cast<std::uint32_t>(entry.type) << ' ' << Hex32(entry.entryFlags) << ' ' << entry.size
                  << ' ' << PackageNameToUtf8(entry.name) << '\n';
    }
    for (const ExternalFileRecord& record : reader.ExternalFiles()) {
        std::cout << "external " << static_cast<std::uint32_t>(record.type) << ' ' << PackageNameToUtf8(record.name)
                  << '\n';
    }
    return 0;
}

int Verify(const std::string& package) {
    PayloadReader reader;
    int result = reader.Open(std::filesystem::path(std::u8string(package.begin(), package.end())));
    if (result == kResultSuccess) {
        result = reader.CheckIntegrity();
    }
    if (result != kResultSuccess) {
        return ReportReaderFailure(package, result);
    }
    std::cout << "ok: " << reader.Entries().size() << " entries, " << reader.ExternalFiles().size()
              << " external files, digest " << reader.DigestText() << '\n';
    return 0;
}

bool ReadWholeFile(const std::filesystem::path& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return static_cast<bool>(in) || in.eof();
}

std::filesystem::path PathFromArgument(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

int Build(const std::vector<std::string>& arguments) {
    std::string image;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--image" && i + 1 < arguments.size()) {
            image = arguments[++i];
        } else {
            positional.push_back(arguments[i]);
        }
    }
    if (positional.size() != 2) {
        std::cerr << "setup-pack: build needs MANIFEST and OUTPUT (see --help)\n";
        return kExitUsage;
    }
    const std::filesystem::path manifestPath = PathFromArgument(positional[0]);
    const std::filesystem::path output = PathFromArgument(positional[1]);
    std::string text;
    if (!std::filesystem::is_regular_file(manifestPath) || !ReadWholeFile(manifestPath, text)) {
        std::cerr << "setup-pack: cannot read manifest " << positional[0] << '\n';
        return kExitUsage;
    }
    PackageManifest manifest;
    std::string error;
    if (!ParsePackageManifest(text, manifestPath.parent_path(), manifest, error)) {
        std::cerr << "setup-pack: " << positional[0] << ": " << error << '\n';
        return kExitUsage;
    }
    if (!image.empty()) {
        manifest.contents.programImage = PathFromArgument(image);
    } else if (!manifest.hasImage) {
        std::cerr << "setup-pack: " << positional[0] << ": no 'image' line and no --image\n";
        return kExitUsage;
    }
    if (std::string problem = CheckPackageContents(manifest.contents); !problem.empty()) {
        std::cerr << "setup-pack: " << positional[0] << ": refused: " << problem << '\n';
        return kExitUsage;
    }
    PackageLayoutInfo layout;
    if (!WritePackage(manifest.contents, output, layout, error)) {
        std::cerr << "setup-pack: " << error << '\n';
        return kExitUsage;
    }
    if (int result = Verify(positional[1]); result != 0) {
        std::error_code ignored;
        std::filesystem::remove(output, ignored);
        return result;
    }
    return 0;
}

int Run(const std::vector<std::string>& arguments) {
    if (arguments.empty() || arguments[0] == "--help" || arguments[0] == "-h") {
        std::cout << kHelp;
        return arguments.empty() ? kExitUsage : 0;
    }
    const std::string& command = arguments[0];
    if (command == "build") {
        return Build({arguments.begin() + 1, arguments.end()});
    }
    if ((command == "list" || command == "verify") && arguments.size() == 2) {
        return command == "list" ? List(arguments[1]) : Verify(arguments[1]);
    }
    std::cerr << "setup-pack: unknown command line (see --help)\n";
    return kExitUsage;
}

}  // namespace
}  // namespace maglorin

int main(int argc, char** argv) {
    return maglorin::Run(std::vector<std::string>(argv + 1, argv + argc));
}
