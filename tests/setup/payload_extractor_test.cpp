// Payload extraction under Wine, on packages made by setup-pack with the real decoder.dll and
// archives made by 7zz: a fresh extraction, marks, a changed folder, cancellation, a full disk,
// the library binding, the main package and the archives beside setup.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "extraction_test_support_win32.h"
#include "jar_unpacking_win32.h"
#include "payload_extractor.h"

namespace maglorin {
namespace {

using namespace test_support;

PathText W(const std::string& ascii) { return PathFromAscii(ascii); }

struct Opened {
    PayloadReader reader;
    explicit Opened(const std::string& package) { EXPECT_EQ(reader.Open(Data(package)), kResultSuccess) << package; }
};

ExtractionSettings Quiet() {
    ExtractionSettings settings;
    settings.userInterfaceEnabled = false;
    settings.packageSubFolder = W("PKGSUB1");
    settings.cleanupMode = CleanupMode::KeepEntries;  // tests look at the files after the extractor
    return settings;
}

TEST(PayloadExtractorTest, ExtractsArchivesAndPlainFilesIntoAFreshFolder) {
    Opened package("archive.pkg");
    const PathText folder = FreshFolder("fresh");
    RecordingProgress progress;
    PayloadExtractor extractor(package.reader, Quiet());
    extractor.SetExtractionFolder(folder);
    EXPECT_EQ(extractor.ExtractionFolder(), W("\\\\?\\") + folder);
    ASSERT_EQ(extractor.ExtractGroups({3, 100, 101}, &progress), kResultSuccess);

    EXPECT_EQ(FilesBelow(folder), (std::vector<std::string>{
        "PKGSUB1\\1033.mst", "PKGSUB1\\bin\\kit.bin", "PKGSUB1\\docs\\deep\\numbers.txt", "PKGSUB1\\lib\\a.jar.pack",
        "PKGSUB1\\lib\\b.jar.PACK", "PKGSUB1\\lib\\c.pack", "PKGSUB1\\readme.txt", "PKGSUB1\\setup.msi",
        "decoder.dll", "extras\\one.txt", "prereq\\pre.exe", "prereq\\t\\tool.txt"}));
    EXPECT_EQ(ReadAll(folder + L"PKGSUB1\\bin\\kit.bin"), ReadAll(Data("src-files/bin/kit.bin")));
    EXPECT_EQ(ReadAll(folder + L"PKGSUB1\\setup.msi"), ReadAll(Data("src-database/setup.msi")));
    EXPECT_EQ(ReadAll(folder + L"prereq\\pre.exe"), ReadAll(Data("pre.exe")));
    EXPECT_EQ(ReadAll(folder + L"decoder.dll"), ReadAll(Data("decoder.dll")));

    // Marks: every entry of the groups; the language library of group 0 was not asked for.
    for (const PayloadEntry& entry : package.reader.Entries()) {
        const auto group = static_cast<std::uint32_t>(entry.group);
        EXPECT_EQ(entry.extracted, group == 2 || group == 3 || group >= 100) << Utf16FromPath(entry.name).size();
    }
    // The library came out of the payload, by its full path, and goes at exit.
    EXPECT_TRUE(extractor.Library().IsLoaded());
    EXPECT_EQ(extractor.DeleteAtExit(), (std::vector<PathText>{W("\\\\?\\") + folder + L"decoder.dll"}));

    // Progress: one overall start before the items, plain entries first, then archives in table
    // order, texts without the prefix, numbered by group.
    EXPECT_EQ(progress.overallStarts, 1);
    EXPECT_EQ(progress.finishes, 1);
    const std::vector<std::pair<PathText, std::int32_t>> expectedItems = {
        {folder + L"prereq\\pre.exe", 100}, {folder + L"extras\\one.txt", 101},
        {folder + L"PKGSUB1\\setup.7z", 3}, {folder + L"PKGSUB1\\FILES.7z", 3}, {folder + L"prereq\\tools.7z", 100}};
    EXPECT_EQ(progress.items, expectedItems);
    const std::uint64_t plainBytes = FileSize(Data("pre.exe").wstring()) + FileSize(Data("one.txt").wstring());
    const std::uint64_t unpackedBytes = FileSize(Data("src-database/setup.msi").wstring()) +
                                        FileSize(Data("src-database/1033.mst").wstring()) +
                                        FileSize(Data("src-files/bin/kit.bin").wstring()) +
                                        FileSize(Data("src-files/docs/deep/numbers.txt").wstring()) +
                                        FileSize(Data("src-files/readme.txt").wstring()) + 9 + 9 + 11 + 5;
    EXPECT_EQ(progress.overallTotal, plainBytes + unpackedBytes);
}

TEST(PayloadExtractorTest, ASecondRequestCopiesNothing) {
    Opened package("archive.pkg");
    const PathText folder = FreshFolder("marks");
    PayloadExtractor extractor(package.reader, Quiet());
    extractor.SetExtractionFolder(folder);
    ASSERT_EQ(extractor.ExtractGroups({101, 3}, nullptr), kResultSuccess);
    // Changes made after the first request survive the second one.
    std::filesystem::remove(std::filesystem::path(folder + L"PKGSUB1\\setup.msi"));
    { std::ofstream(std::filesystem::path(folder + L"extras\\one.txt"), std::ios::trunc) << "changed"; }
    RecordingProgress progress;
    ASSERT_EQ(extractor.ExtractGroups({101, 3}, &progress), kResultSuccess);
    EXPECT_TRUE(progress.items.empty());
    EXPECT_EQ(progress.overallTotal, 0u);
    EXPECT_EQ(ReadAll(folder + L"extras\\one.txt"), "changed");
    EXPECT_FALSE(Exists(folder + L"PKGSUB1\\setup.msi"));
    EXPECT_EQ(extractor.Library().LoadCount(), 1);
}

TEST(PayloadExtractorTest, AChangedFolderSchedulesTheOldCopiesAndExtractsAgain) {
    Opened package("archive.pkg");
    const PathText first = FreshFolder("first");
    const PathText second = FreshFolder("second");
    {
        PayloadExtractor extractor(package.reader, Quiet());
        extractor.SetExtractionFolder(first);
        ASSERT_EQ(extractor.ExtractGroups({101}, nullptr), kResultSuccess);
        extractor.SetExtractionFolder(second);
        EXPECT_FALSE(package.reader.Entry(5).extracted);
        EXPECT_EQ(extractor.DeleteAtExit(), (std::vector<PathText>{W("\\\\?\\") + first + L"extras\\one.txt"}));
        ASSERT_EQ(extractor.ExtractGroups({101}, nullptr), kResultSuccess);
        EXPECT_TRUE(Exists(second + L"extras\\one.txt"));
        EXPECT_TRUE(package.reader.Entry(5).extracted);
    }  // clean-up at exit, mode 3: only the delete-at-exit list and the created folders go
    EXPECT_FALSE(Exists(first + L"extras\\one.txt"));
    EXPECT_FALSE(Exists(first + L"extras"));
    EXPECT_TRUE(Exists(second + L"extras\\one.txt"));
}

TEST(PayloadExtractorTest, CancellingAPlainCopyLeavesItUnmarkedAndGoneAtExit) {
    Opened package("large.pkg");
    const PathText folder = FreshFolder("cancel-copy");
    const PathText target = folder + L"big\\large.bin";
    {
        PayloadExtractor extractor(package.reader, Quiet());
        extractor.SetExtractionFolder(folder);
        RecordingProgress progress;
        progress.cancelAtQuery = 3;  // after three blocks of 64 KiB
        EXPECT_EQ(extractor.ExtractGroups({100}, &progress), kResultCancelled);
        EXPECT_FALSE(package.reader.Entry(1).extracted);
        EXPECT_EQ(FileSize(target), 3u * 65536u);  // the partial file stays while setup runs
        EXPECT_EQ(progress.finishes, 1);
    }
    EXPECT_FALSE(Exists(target));  // ... and is never left behind looking complete
}

TEST(PayloadExtractorTest, CancellingAnArchiveThroughTheProgressObjectGives14) {
    Opened package("large.pkg");
    const PathText folder = FreshFolder("cancel-archive");
    PayloadExtractor extractor(package.reader, Quiet());
    extractor.SetExtractionFolder(folder);
    RecordingProgress progress;
    progress.cancelAtQuery = 0;
    EXPECT_EQ(extractor.ExtractGroups({101}, &progress), kResultCancelled);
    EXPECT_FALSE(package.reader.Entry(2).extracted);
    EXPECT_FALSE(Exists(folder + L"bigarchive\\big.txt"));
    // A later request without a cancel completes it.
    EXPECT_EQ(extractor.ExtractGroups({101}, nullptr), kResultSuccess);
    EXPECT_EQ(ReadAll(folder + L"bigarchive\\big.txt"), ReadAll(Data("src-large/big.txt")));
}

TEST(PayloadExtractorTest, AFullDiskAsksRetryOrStops) {
    struct Case {
        const char* what;
        bool userInterface;
        std::vector<bool> answers;
        bool spaceFreedOnRetry;
        int result;
        int asked;
    } cases[] = {
        {"no user interface: stop at once", false, {true}, true, kResultNotEnoughSpace, 0},
        {"cancel", true, {false}, false, kResultNotEnoughSpace, 1},
        {"retry while still full, then cancel", true, {true, false}, false, kResultNotEnoughSpace, 2},
        {"retry after space was freed", true, {true}, true, kResultSuccess, 1},
    };
    for (const Case& c : cases) {
        Opened package("plain.pkg");
        const PathText folder = FreshFolder("full");
        InjectedFreeSpace freeSpace;
        freeSpace.freeBytes = 10;  // less than any entry
        ScriptedPrompt prompt;
        prompt.answers = c.answers;
        prompt.beforeRetry = [&] { if (c.spaceFreedOnRetry) freeSpace.freeBytes = 1u << 30; };
        ExtractionSettings settings = Quiet();
        settings.userInterfaceEnabled = c.userInterface;
        RecordedMessages messages;
        PayloadExtractor extractor(package.reader, settings, {&freeSpace, &prompt, &messages});
        extractor.SetExtractionFolder(folder);
        EXPECT_EQ(extractor.ExtractGroups({101}, nullptr), c.result) << c.what;
        EXPECT_EQ(prompt.asked, c.asked) << c.what;
        EXPECT_EQ(Exists(folder + L"x\\one.txt"), c.result == kResultSuccess) << c.what;
        if (c.asked > 0) {
            EXPECT_EQ(prompt.lastText, LowSpaceText(folder)) << c.what;
        }
    }
}

TEST(PayloadExtractorTest, TheLibraryMustBeInThePayloadAndComplete) {
    for (const char* name : {"nodecoder.pkg", "baddecoder.pkg"}) {
        Opened package(name);
        const PathText folder = FreshFolder("library");
        PayloadExtractor extractor(package.reader, Quiet());
        extractor.SetExtractionFolder(folder);
        EXPECT_EQ(extractor.ExtractGroups({3}, nullptr), kResultLibraryMissing) << name;
        EXPECT_FALSE(extractor.Library().IsLoaded()) << name;
        EXPECT_FALSE(Exists(folder + L"PKGSUB1\\setup.msi")) << name;
    }
    ExtractionLibrary library;
    EXPECT_EQ(library.Load(W("decoder.dll")), kResultLibraryMissing);  // never through the search path
    EXPECT_EQ(library.Load(std::filesystem::absolute(L"decoder.dll").wstring()), kResultSuccess);
    EXPECT_NE(library.Functions().extractAllFiles, nullptr);
    // The search restriction is in force (Wine and Windows 7 with its update have it).
    EXPECT_TRUE(RestrictDllSearchToSystemFolder());
}

TEST(PayloadExtractorTest, TheLibraryIsLoadedFromTheExtractionFolder) {
    Opened package("archive.pkg");
    const PathText folder = FreshFolder("loaded-from");
    PayloadExtractor extractor(package.reader, Quiet());
    extractor.SetExtractionFolder(folder);
    ASSERT_EQ(extractor.ExtractGroups({3}, nullptr), kResultSuccess);
    const HMODULE module = ::GetModuleHandleW((folder + L"decoder.dll").c_str());
    ASSERT_NE(module, nullptr);
    wchar_t loadedFrom[MAX_PATH] = {};
    ::GetModuleFileNameW(module, loadedFrom, MAX_PATH);
    EXPECT_EQ(WithoutLongPathPrefix(loadedFrom), folder + L"decoder.dll");
}

TEST(PayloadExtractorTest, MainPackagePathAndTheRefusedMainEntryWithoutFolder) {
    {
        Opened package("archive.pkg");
        const PathText folder = FreshFolder("main");
        PayloadExtractor extractor(package.reader, Quiet());
        extractor.SetExtractionFolder(folder);
        PathText database;
        ASSERT_EQ(extractor.ExtractMainPackage(nullptr, database), kResultSuccess);
        EXPECT_EQ(database, W("\\\\?\\") + folder + L"PKGSUB1\\setup.msi");
        EXPECT_TRUE(Exists(database));
        EXPECT_FALSE(Exists(folder + L"prereq"));  // only the main package's group
        EXPECT_EQ(extractor.DeleteMainPackageFolder(), kResultSuccess);
        EXPECT_FALSE(Exists(folder + L"PKGSUB1"));
        EXPECT_TRUE(Exists(folder + L"decoder.dll"));
    }
    {
        Opened package("plain.pkg");
        const PathText folder = FreshFolder("main-plain");
        PayloadExtractor extractor(package.reader, Quiet());
        extractor.SetExtractionFolder(folder);
        PathText database;
        ASSERT_EQ(extractor.ExtractMainPackage(nullptr, database), kResultSuccess);
        EXPECT_EQ(database, W("\\\\?\\") + folder + L"MAIN\\main.msi");
        EXPECT_EQ(ReadAll(folder + L"MAIN\\main.msi"), ReadAll(Data("main.msi")));
    }
    {
        Opened package("nofolder.pkg");
        const PathText folder = FreshFolder("nofolder");
        { std::ofstream(std::filesystem::path(folder + L"precious.txt")) << "must stay"; }
        PayloadExtractor extractor(package.reader, Quiet());
        extractor.SetCleanupMode(CleanupMode::Default);
        extractor.SetExtractionFolder(folder);
        PathText database;
        EXPECT_EQ(extractor.ExtractMainPackage(nullptr, database), kResultDamagedPackage);
        EXPECT_EQ(extractor.DeleteMainPackageFolder(), kResultDamagedPackage);
        extractor.CleanUpAtExit();
        EXPECT_EQ(ReadAll(folder + L"precious.txt"), "must stay");
    }
}

TEST(PayloadExtractorTest, ArchivesBesideSetupUnpackIntoThePackageSubFolder) {
    PayloadReader reader;
    ASSERT_EQ(reader.Open(Data("beside/setup.pkg")), kResultSuccess);
    const PathText folder = FreshFolder("beside");
    ExtractionSettings settings = Quiet();
    settings.setupFolder = Data("beside").wstring() + L"\\";
    PayloadExtractor extractor(reader, settings);
    extractor.SetExtractionFolder(folder);
    RecordingProgress progress;
    PathText database;
    ASSERT_EQ(extractor.ExtractMainPackage(&progress, database), kResultSuccess);
    EXPECT_EQ(database, W("\\\\?\\") + folder + L"PKGSUB1\\setup.msi");
    EXPECT_EQ(ReadAll(folder + L"PKGSUB1\\setup.msi"), ReadAll(Data("src-database/setup.msi")));
    EXPECT_EQ(ReadAll(folder + L"PKGSUB1\\readme.txt"), ReadAll(Data("src-files/readme.txt")));
    EXPECT_EQ(progress.items.size(), 2u);
    EXPECT_EQ(extractor.DeleteMainPackageFolder(), kResultSuccess);
    EXPECT_FALSE(Exists(folder + L"PKGSUB1"));
}

TEST(PayloadExtractorTest, SingleFilesByLanguageAndNameAndPrerequisiteLookups) {
    Opened package("archive.pkg");
    const PathText folder = FreshFolder("single");
    const PathText prefixed = W("\\\\?\\") + folder;
    {
        PayloadExtractor extractor(package.reader, Quiet());
        extractor.SetExtractionFolder(folder);
        PathText path;
        ASSERT_EQ(extractor.ExtractLanguageLibrary(1033, path), kResultSuccess);
        EXPECT_EQ(path, prefixed + L"1033.dll");
        EXPECT_EQ(ReadAll(path), ReadAll(Data("1033.dll")));
        EXPECT_EQ(extractor.ExtractLanguageLibrary(1031, path), kResultDamagedPackage);
        ASSERT_EQ(extractor.ExtractFileByName(W("extras\\one.txt"), path), kResultSuccess);
        EXPECT_EQ(path, prefixed + L"extras\\one.txt");
        EXPECT_EQ(extractor.ExtractFileByName(W("1033.dll"), path), kResultDamagedPackage);  // not type 11

        const auto plain = extractor.FindPrerequisiteFile(W("prereq\\pre.exe"));
        ASSERT_TRUE(plain.has_value());
        EXPECT_EQ(plain->path, prefixed + L"prereq\\pre.exe");
        EXPECT_EQ(plain->group, 100);
        const auto archive = extractor.FindPrerequisiteFile(W("prereq\\tools.7z"));
        ASSERT_TRUE(archive.has_value());
        EXPECT_EQ(archive->group, 100);
        EXPECT_FALSE(extractor.FindPrerequisiteFile(W("missing.exe")).has_value());
    }  // mode 3: the language library still goes (delete-at-exit), the type-11 file stays
    EXPECT_FALSE(Exists(folder + L"1033.dll"));
    EXPECT_TRUE(Exists(folder + L"extras\\one.txt"));
}

TEST(PayloadExtractorTest, PackedJarsAreCollectedAndAMissingJavaRuntimeGives13) {
    Opened package("archive.pkg");
    const PathText folder = FreshFolder("jars");
    ExtractionSettings settings = Quiet();
    settings.packJars = true;
    RecordedMessages messages;
    PayloadExtractor extractor(package.reader, settings, {nullptr, nullptr, &messages});
    extractor.SetExtractionFolder(folder);
    EXPECT_EQ(extractor.ExtractGroups({3}, nullptr), kResultExtractionFailed);
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_EQ(messages.texts[0], JavaRuntimeMissingText());
    const std::vector<PackedJar> jars = CollectPackedJars({W("\\\\?\\") + folder + L"PKGSUB1\\"});
    std::vector<PathText> names;
    for (const PackedJar& jar : jars) names.push_back(jar.path.substr(jar.path.rfind(L'\\') + 1));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<PathText>{W("a.jar.pack"), W("b.jar.PACK")}));
}

// Puts the test unpacker where a bundled runtime would have it: <package folder>\jre\bin.
void InstallFakeUnpacker(const PathText& folder) {
    const std::filesystem::path bin = std::filesystem::path(folder) / L"PKGSUB1" / L"jre" / L"bin";
    std::filesystem::create_directories(bin);
    std::filesystem::copy_file(std::filesystem::absolute(L"fake_unpack200.exe"), bin / L"unpack200.exe");
}

TEST(PayloadExtractorTest, PackedJarsBecomeJarsWithTheBundledUnpacker) {
    Opened package("archive.pkg");
    const PathText folder = FreshFolder("jars-unpacked");
    InstallFakeUnpacker(folder);
    ExtractionSettings settings = Quiet();
    settings.packJars = true;
    RecordedMessages messages;
    PayloadExtractor extractor(package.reader, settings, {nullptr, nullptr, &messages});
    extractor.SetExtractionFolder(folder);
    RecordingProgress progress;
    ASSERT_EQ(extractor.ExtractGroups({3}, &progress), kResultSuccess);
    EXPECT_TRUE(messages.texts.empty());
    EXPECT_EQ(ReadAll(folder + L"PKGSUB1\\lib\\a.jar"), "packed a\n");
    EXPECT_EQ(ReadAll(folder + L"PKGSUB1\\lib\\b.jar"), "packed b\n");
    EXPECT_FALSE(Exists(folder + L"PKGSUB1\\lib\\a.jar.pack"));
    EXPECT_FALSE(Exists(folder + L"PKGSUB1\\lib\\b.jar.PACK"));
    EXPECT_TRUE(Exists(folder + L"PKGSUB1\\lib\\c.pack"));  // not a packed JAR
    EXPECT_EQ(progress.totals.size(), 2u);                     // each packed file reported
}

TEST(PayloadExtractorTest, AFailedJarUnpackShowsTheLogAndGives13) {
    Opened package("badjar.pkg");
    const PathText folder = FreshFolder("jars-bad");
    InstallFakeUnpacker(folder);
    ExtractionSettings settings = Quiet();
    settings.packJars = true;
    RecordedMessages messages;
    PayloadExtractor extractor(package.reader, settings, {nullptr, nullptr, &messages});
    extractor.SetExtractionFolder(folder);
    EXPECT_EQ(extractor.ExtractGroups({3}, nullptr), kResultExtractionFailed);
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_EQ(messages.texts[0], JarUnpackFailureText(W("x.jar"), W("bad pack header")));
    EXPECT_TRUE(Exists(folder + L"PKGSUB1\\lib\\x.jar.pack"));
}

TEST(PayloadExtractorTest, ACancelBeforeAPackedJarGives16) {
    Opened package("archive.pkg");
    const PathText folder = FreshFolder("jars-cancel");
    InstallFakeUnpacker(folder);
    ExtractionSettings settings = Quiet();
    settings.packJars = true;
    RecordedMessages messages;
    PayloadExtractor extractor(package.reader, settings, {nullptr, nullptr, &messages});
    extractor.SetExtractionFolder(folder);
    // The archives' own cancel queries come first; count them on a first run, then cancel at
    // the first query of the JAR phase.
    RecordingProgress counting;
    {
        Opened probe("archive.pkg");
        const PathText probeFolder = FreshFolder("jars-count");
        ExtractionSettings plain = Quiet();
        PayloadExtractor counter(probe.reader, plain);
        counter.SetExtractionFolder(probeFolder);
        ASSERT_EQ(counter.ExtractGroups({3}, &counting), kResultSuccess);
    }
    RecordingProgress progress;
    progress.cancelAtQuery = counting.cancelQueries;
    EXPECT_EQ(extractor.ExtractGroups({3}, &progress), kResultUnpackCancelled);
    EXPECT_TRUE(Exists(folder + L"PKGSUB1\\lib\\a.jar.pack"));
    EXPECT_FALSE(Exists(folder + L"PKGSUB1\\lib\\a.jar"));
}

}  // namespace
}  // namespace maglorin
