// The language step and the language manager under Wine, with the real German and French
// language libraries: which language is taken, whether it is fixed, and what the texts become.

#include <gtest/gtest.h>

#include "language_phase_win32.h"
#include "setup_resources_win32.h"

namespace maglorin {
namespace {

constexpr std::uint16_t kEnglish = 1033;
constexpr std::uint16_t kGerman = 1031;
constexpr std::uint16_t kFrench = 1036;

std::wstring LibraryPath(std::uint16_t id) {
    wchar_t program[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring folder(program);
    folder.resize(folder.find_last_of(L'\\') + 1);
    return folder + L"languages\\" + std::to_wstring(id) + L".dll";
}

LanguageManager::LibraryCopier RealLibraries(int* copies = nullptr) {
    return [copies](std::uint16_t id, std::wstring& path) {
        if (copies != nullptr) ++*copies;
        path = LibraryPath(id);
        return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    };
}

std::wstring Title(const LanguageManager& manager) { return LoadSetupText(kStringSetupTitle, manager.TextSource()); }

TEST(LanguageManager, UseSwitchesTheTextSourceAndKeepsItOnFailure) {
    int switches = 0;
    LanguageManager manager({kEnglish}, {kGerman, kFrench}, RealLibraries());
    manager.SetSwitchHandler([&switches] { ++switches; });
    EXPECT_EQ(manager.Available(), (std::vector<std::uint16_t>{kEnglish, kGerman, kFrench}));
    EXPECT_EQ(manager.TextSource(), nullptr) << "the program's own texts at start";

    ASSERT_TRUE(manager.Use(kGerman));
    EXPECT_EQ(manager.Chosen(), kGerman);
    EXPECT_EQ(Title(manager), L"%s-Setup");
    EXPECT_EQ(LoadSetupText(kStringCorruptedArchive, manager.TextSource()), L"Dieses Archiv ist besch\u00e4digt.");
    ASSERT_TRUE(manager.Use(kFrench));
    EXPECT_EQ(Title(manager), L"Installation de %s");
    EXPECT_EQ(switches, 2);

    EXPECT_FALSE(manager.Use(2057)) << "not available";
    EXPECT_EQ(manager.Chosen(), kFrench);
    EXPECT_EQ(switches, 2);

    ASSERT_TRUE(manager.Use(kEnglish));
    EXPECT_EQ(manager.Chosen(), 0);
    EXPECT_EQ(manager.TextSource(), nullptr) << "back to the program's own texts";
    EXPECT_TRUE(manager.NotFixed()) << "switching alone fixes nothing";
}

TEST(LanguageManager, LibraryThatCannotBeLoadedLeavesThePreviousSource) {
    LanguageManager manager({kEnglish}, {kGerman, kFrench}, [](std::uint16_t id, std::wstring& path) {
        path = id == kGerman ? LibraryPath(kGerman) : LibraryPath(kGerman) + L".missing";
        return true;
    });
    ASSERT_TRUE(manager.Use(kGerman));
    EXPECT_FALSE(manager.Use(kFrench));
    EXPECT_EQ(manager.Chosen(), kGerman);
    EXPECT_EQ(Title(manager), L"%s-Setup");
}

struct Step {
    LanguageManager manager{{kEnglish}, {kGerman, kFrench}, RealLibraries()};
    LanguagePhaseRequest request;
    int questions = 0;
    std::uint16_t preselected = 0;

    explicit Step(std::optional<std::uint16_t> answer = std::nullopt, bool hasAnswer = true) {
        request.manager = &manager;
        request.system = {kEnglish, kEnglish, kEnglish, kEnglish};
        request.ask = [this, answer, hasAnswer](const std::vector<std::uint16_t>&, std::uint16_t choice) {
            ++questions;
            preselected = choice;
            return hasAnswer ? answer : std::nullopt;
        };
    }
    LanguagePhaseResult Run() { return ChooseLanguage(request); }
};

TEST(LanguagePhase, ExelangFixesOnlyAnAvailableLanguage) {
    struct Case {
        std::optional<std::u16string> requested;
        bool notFixed;
        std::uint16_t chosen;
    };
    const Case cases[] = {
        {std::nullopt, true, 0},   {u"1033", false, 0},        {u"1033x", false, 0},  // leading digits count
        {u"1031", false, kGerman}, {u"1036", false, kFrench},  {u"2057", true, 0},    // not available: ignored
        {u"english", true, 0},     {u"", true, 0},             {u"99999999", true, 0},  // no 16-bit id
    };
    for (const Case& c : cases) {
        Step step;
        step.request.requestedLanguage = c.requested;
        step.request.quiet = true;  // otherwise an unfixed choice goes on to the later steps
        step.request.packageFlags = PackageFlags::AskLanguage;
        const std::string label = c.requested ? std::string(c.requested->begin(), c.requested->end()) : "none";
        EXPECT_FALSE(step.Run().cancelled) << label;
        EXPECT_EQ(step.manager.NotFixed(), c.notFixed) << label;
        EXPECT_EQ(step.manager.Chosen(), c.chosen) << label;
        EXPECT_EQ(step.questions, 0) << label << ": never asked, even with AskLanguage";
    }
}

TEST(LanguagePhase, InstalledLanguageIsTakenOnlyWhenAvailable) {
    {
        Step step;
        step.request.packageFlags = PackageFlags::AskLanguage;
        step.request.installedLanguage = [] { return kFrench; };
        EXPECT_FALSE(step.Run().cancelled);
        EXPECT_EQ(step.manager.Chosen(), kFrench) << "a re-run after a French install speaks French";
        EXPECT_FALSE(step.manager.NotFixed());
        EXPECT_EQ(step.questions, 0) << "without asking";
    }
    {
        Step step;
        step.request.installedLanguage = [] { return std::uint16_t{1040}; };  // Italian: not available
        step.request.system = {kGerman, kGerman, kGerman, kGerman};
        EXPECT_FALSE(step.Run().cancelled);
        EXPECT_EQ(step.manager.Chosen(), kGerman) << "falls through to the default choice";
        EXPECT_TRUE(step.manager.NotFixed()) << "nothing fixed it";
    }
}

TEST(LanguagePhase, DefaultFollowsTheSystemAndTheDialogDecides) {
    {
        Step step(kGerman);
        step.request.packageFlags = PackageFlags::AskLanguage;
        step.request.system = {kFrench, kFrench, kFrench, kFrench};
        EXPECT_FALSE(step.Run().cancelled);
        EXPECT_EQ(step.questions, 1);
        EXPECT_EQ(step.preselected, kFrench) << "the dialog preselects the system's language";
        EXPECT_EQ(step.manager.Chosen(), kGerman) << "the user's selection wins";
        EXPECT_FALSE(step.manager.NotFixed());
        EXPECT_EQ(Title(step.manager), L"%s-Setup");
    }
    {
        Step step(std::nullopt, false);
        step.request.packageFlags = PackageFlags::AskLanguage;
        EXPECT_TRUE(step.Run().cancelled);
    }
    {
        Step step;  // without AskLanguage the default is taken silently
        step.request.system = {3084, 3084, 3084, 3084};  // French (Canada)
        EXPECT_FALSE(step.Run().cancelled);
        EXPECT_EQ(step.questions, 0);
        EXPECT_EQ(step.manager.Chosen(), kFrench);
        EXPECT_TRUE(step.manager.NotFixed());
    }
}

TEST(LanguagePhase, QuietRunsAndPackagesWithoutLibrariesKeepTheBaseLanguage) {
    {
        Step step;
        step.request.quiet = true;
        step.request.packageFlags = PackageFlags::AskLanguage;
        step.request.system = {kGerman, kGerman, kGerman, kGerman};
        step.request.installedLanguage = [] { return kFrench; };
        EXPECT_FALSE(step.Run().cancelled);
        EXPECT_EQ(step.manager.Chosen(), 0);
        EXPECT_EQ(step.questions, 0);
    }
    {
        LanguageManager manager({kEnglish}, {}, RealLibraries());
        LanguagePhaseRequest request;
        request.manager = &manager;
        request.packageFlags = PackageFlags::AskLanguage;
        request.system = {kGerman, kGerman, kGerman, kGerman};
        int questions = 0;
        request.ask = [&questions](const std::vector<std::uint16_t>&, std::uint16_t) {
            ++questions;
            return std::optional<std::uint16_t>(kEnglish);
        };
        EXPECT_FALSE(ChooseLanguage(request).cancelled);
        EXPECT_EQ(questions, 0) << "no dialog without language libraries";
        EXPECT_EQ(manager.Chosen(), 0);
    }
}

}  // namespace
}  // namespace maglorin
