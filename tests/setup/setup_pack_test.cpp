// The setup-pack program from the outside: build from a manifest, list, verify, refusals.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "package_test_support.h"

namespace maglorin {
namespace {

struct RunResult {
    int status = -1;
    std::string output;  // standard output and error together
};

RunResult RunSetupPack(const std::string& arguments) {
    const char* bin = std::getenv("MAGLORIN_BIN");
    const std::string program = std::string(bin ? bin : ".") + "/setup-pack";
    RunResult result;
    FILE* pipe = ::popen(("'" + program + "' " + arguments + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        return result;
    }
    char buffer[4096];
    while (std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe)) {
        result.output.append(buffer, got);
    }
    const int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

class SetupPackTest : public ::testing::Test {
protected:
    void SetUp() override {
        test_support::WriteFileBytes(folder_ / "setup.exe", test_support::PatternBytes(4096, 1));
        test_support::WriteFileBytes(folder_ / "setup.ini", {0xFF, 0xFE, '[', 0, 'x', 0, ']', 0});
        test_support::WriteFileBytes(folder_ / "decoder.dll", test_support::PatternBytes(2000, 2));
        test_support::WriteFileBytes(folder_ / "setup msi.7z", test_support::PatternBytes(3000, 3));
    }

    void WriteManifest(const std::string& text) {
        std::ofstream(folder_ / "package.manifest", std::ios::binary) << text;
    }

    std::string Quoted(const std::filesystem::path& path) const { return "'" + path.string() + "'"; }

    std::string Build() {
        return "build " + Quoted(folder_ / "package.manifest") + " " + Quoted(folder_ / "out.exe");
    }

    test_support::TempFolder folder_;
};

const char* kShippedManifest =
    "image setup.exe\n"
    "flags DatabaseInArchive ExtractOnRequest\n"
    "configuration setup.ini\n"
    "entry 2 8 remove decoder.dll decoder.dll\n"
    "entry 3 7 keep \"ABCDEF1\\setup.msi\" \"setup msi.7z\"\n"
    "external 6 FILES.7z\n";

TEST_F(SetupPackTest, BuildsListsAndVerifiesAPackage) {
    WriteManifest(kShippedManifest);
    const RunResult build = RunSetupPack(Build());
    ASSERT_EQ(build.status, 0) << build.output;

    const RunResult list = RunSetupPack("list " + Quoted(folder_ / "out.exe"));
    ASSERT_EQ(list.status, 0) << list.output;
    const std::string expectedStart =
        "flags 0x0000021A HasConfiguration DatabaseInArchive ExtractOnRequest ConfigurationInPayload\n"
        "digest ";
    EXPECT_EQ(list.output.substr(0, expectedStart.size()), expectedStart);
    const std::string expectedEnd =
        "entry 0 3 0x00000000 8 setup.ini\n"
        "entry 2 8 0x00000000 2000 decoder.dll\n"
        "entry 3 7 0x00000001 3000 ABCDEF1\\setup.msi\n"
        "external 6 FILES.7z\n";
    ASSERT_GE(list.output.size(), expectedEnd.size());
    EXPECT_EQ(list.output.substr(list.output.size() - expectedEnd.size()), expectedEnd);

    const RunResult verify = RunSetupPack("verify " + Quoted(folder_ / "out.exe"));
    EXPECT_EQ(verify.status, 0) << verify.output;
}

TEST_F(SetupPackTest, ImageOptionReplacesTheManifestImage) {
    WriteManifest("image missing.exe\nentry 100 4 remove pre.exe decoder.dll\n");
    EXPECT_EQ(RunSetupPack(Build()).status, 1);
    const RunResult build = RunSetupPack("build --image " + Quoted(folder_ / "setup.exe") + " " +
                                         Quoted(folder_ / "package.manifest") + " " + Quoted(folder_ / "out.exe"));
    ASSERT_EQ(build.status, 0) << build.output;
    EXPECT_EQ(std::filesystem::file_size(folder_ / "out.exe"), 4096u + 2000 + 24 + 14 + 76);
}

TEST_F(SetupPackTest, VerifyExitsWithTheReaderResult) {
    WriteManifest(kShippedManifest);
    ASSERT_EQ(RunSetupPack(Build()).status, 0);
    std::vector<std::uint8_t> bytes = test_support::ReadFileBytes(folder_ / "out.exe");

    std::vector<std::uint8_t> changed = bytes;
    changed[5000] ^= 1;  // inside decoder.dll's data
    test_support::WriteFileBytes(folder_ / "changed.exe", changed);
    const RunResult corrupted = RunSetupPack("verify " + Quoted(folder_ / "changed.exe"));
    EXPECT_EQ(corrupted.status, 5);
    EXPECT_NE(corrupted.output.find("This archive is corrupted."), std::string::npos) << corrupted.output;

    std::vector<std::uint8_t> version = bytes;
    test_support::PatchLittleEndian32(version, bytes.size() - 76 + 12, 101);
    test_support::WriteFileBytes(folder_ / "version.exe", version);
    EXPECT_EQ(RunSetupPack("verify " + Quoted(folder_ / "version.exe")).status, 5);
    EXPECT_EQ(RunSetupPack("list " + Quoted(folder_ / "version.exe")).status, 5);

    test_support::WriteFileBytes(folder_ / "short.exe", std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 500));
    EXPECT_EQ(RunSetupPack("verify " + Quoted(folder_ / "short.exe")).status, 2);
    EXPECT_EQ(RunSetupPack("verify " + Quoted(folder_ / "none.exe")).status, 2);
}

TEST_F(SetupPackTest, RefusedManifestsLeaveNoPackage) {
    const char* manifests[] = {
        "image setup.exe\nentry 3 7 keep ..\\setup.msi decoder.dll\n",
        "image setup.exe\nentry 3 7 keep C:\\setup.msi decoder.dll\n",
        "image setup.exe\nentry 3 7 keep NUL decoder.dll\n",
        "image setup.exe\nflags HasConfiguration ConfigurationInPayload\n",
        "image setup.ini\n",                                    // shorter than 1024 bytes
        "image setup.exe\nentry 3 7 keep a.msi missing.7z\n",
        "image setup.exe\nentry 3 7 keep a.msi\n",
        "entry 3 7 keep a.msi decoder.dll\n",                    // no image
    };
    for (const char* manifest : manifests) {
        WriteManifest(manifest);
        const RunResult build = RunSetupPack(Build());
        EXPECT_EQ(build.status, 1) << manifest << build.output;
        EXPECT_FALSE(std::filesystem::exists(folder_ / "out.exe")) << manifest;
        EXPECT_FALSE(std::filesystem::exists(folder_ / "out.exe.partial")) << manifest;
    }
}

TEST_F(SetupPackTest, HelpDescribesTheCommandLine) {
    const RunResult help = RunSetupPack("--help");
    EXPECT_EQ(help.status, 0);
    for (const char* text : {"setup-pack build [--image FILE] MANIFEST OUTPUT", "setup-pack list PACKAGE",
                             "setup-pack verify PACKAGE", "configuration SOURCE [NAME]"}) {
        EXPECT_NE(help.output.find(text), std::string::npos) << text;
    }
    EXPECT_EQ(RunSetupPack("frobnicate").status, 1);
    EXPECT_EQ(RunSetupPack("").status, 1);
}

}  // namespace
}  // namespace maglorin
