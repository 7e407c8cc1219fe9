// The 23 launch-condition checks, in their order. Each answers "passed" (nullopt) or the verdict
// that ends the evaluation.

#include <array>
#include <optional>
#include <span>

#include "launch_condition_messages.h"
#include "launch_condition_tables.h"
#include "launch_conditions.h"
#include "version_number.h"

namespace maglorin {

namespace {

using Verdict = std::optional<LaunchConditionsVerdict>;

constexpr std::u16string_view kFamily9x = u"Windows 9x/ME";
constexpr std::u16string_view kFamilyNt32 = u"Windows NT/2k/XP/Vista/Windows7 x86";
constexpr std::u16string_view kFamilyNt64 = u"Windows XP/Vista/Windows7 x64";

DetectionSearch Search(int type, std::u16string_view path, std::u16string_view minimum = {},
                       std::u16string_view reference = {}) {
    DetectionSearch search;
    search.type = type;
    search.searchString.assign(path);
    search.minimumVersion.assign(minimum);
    search.referenceContent.assign(reference);
    return search;
}

LaunchConditionsVerdict Fail(int check, int messageId, std::u16string_view argument,
                             LaunchConditionsOutcome outcome = LaunchConditionsOutcome::NotMet) {
    return LaunchConditionsVerdict{outcome, check, messageId, std::u16string(argument)};
}

// A value no table maps is the package's fault, not the machine's: the user sees the check's
// text naming the value, and setup ends with an error.
LaunchConditionsVerdict Unmapped(int check, int messageId, std::u16string_view value) {
    return Fail(check, messageId, value, LaunchConditionsOutcome::PackagingError);
}

// Decimal digits only, small enough for any screen or memory size.
std::optional<std::uint64_t> Decimal(std::u16string_view text) {
    if (text.empty() || text.size() > 18) return std::nullopt;
    std::uint64_t value = 0;
    for (const char16_t c : text) {
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - u'0');
    }
    return value;
}

// Digits and single dots, at most three dots, neither first nor last.
bool IsPlainVersion(std::u16string_view text) {
    if (text.empty() || text.front() == u'.' || text.back() == u'.') return false;
    int dots = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == u'.') {
            if (text[at - 1] == u'.' || ++dots > 3) return false;
        } else if (text[at] < u'0' || text[at] > u'9') {
            return false;
        }
    }
    return true;
}

// The index of a version among "N.M" entries compared in all four parts; nullopt when none.
std::optional<std::size_t> IndexOfVersion(std::u16string_view text, std::span<const VersionNumber> table) {
    const VersionNumber version = VersionNumber::Parse(text);
    for (std::size_t index = 0; index < table.size(); ++index) {
        if (table[index] == version) return index;
    }
    return std::nullopt;
}

std::vector<std::u16string_view> SplitList(std::u16string_view list) {
    std::vector<std::u16string_view> items;
    while (!list.empty()) {
        const std::size_t comma = list.find(u", ");
        items.push_back(list.substr(0, comma));
        if (comma == std::u16string_view::npos) break;
        list.remove_prefix(comma + 2);
    }
    return items;
}

class ConditionChecker {
public:
    ConditionChecker(const LaunchConditions& conditions, LaunchConditionSystem& system,
                     const SearchEvaluator& searches, const std::vector<std::u16string>& sites)
        : c_(conditions), system_(system), searches_(searches), sites_(sites) {}

    LaunchConditionsVerdict Run() {
        using Check = Verdict (ConditionChecker::*)();
        static constexpr std::array<Check, 23> kChecks{
            &ConditionChecker::OperatingSystem, &ConditionChecker::InternetExplorer, &ConditionChecker::Iis,
            &ConditionChecker::DotNet, &ConditionChecker::Screen, &ConditionChecker::Colour,
            &ConditionChecker::Memory, &ConditionChecker::Administrator, &ConditionChecker::Internet,
            &ConditionChecker::AcrobatReader, &ConditionChecker::DirectX, &ConditionChecker::Jre,
            &ConditionChecker::Jdk, &ConditionChecker::OfficeApplication, &ConditionChecker::Xna,
            &ConditionChecker::SqlExpress, &ConditionChecker::SqlCompact, &ConditionChecker::ActiveSync,
            &ConditionChecker::Interop2003, &ConditionChecker::Interop2007, &ConditionChecker::Interop2010,
            &ConditionChecker::InteropShared, &ConditionChecker::ToolsRuntime};
        for (const Check check : kChecks) {
            if (Verdict verdict = (this->*check)()) return *verdict;
        }
        return {};
    }

private:
    bool Present(const DetectionSearch& search, SearchScope scope = {}) const {
        return searches_.IsPresent(search, scope);
    }
    const OsIdentity& Os() {
        if (!os_) os_ = system_.Os();
        return *os_;
    }

    Verdict OperatingSystem();
    Verdict InternetExplorer();
    Verdict Iis();
    Verdict DotNet();
    Verdict Screen();
    Verdict Colour();
    Verdict Memory();
    Verdict Administrator();
    Verdict Internet();
    Verdict AcrobatReader();
    Verdict DirectX();
    Verdict Jre() { return JavaKit(12, u"HKLM\\SOFTWARE\\JavaSoft\\Java Runtime Environment", c_.minJreVersion, launch_message::kJre); }
    Verdict Jdk() { return JavaKit(13, u"HKLM\\SOFTWARE\\JavaSoft\\Java Development Kit", c_.minJdkVersion, launch_message::kJdk); }
    Verdict JavaKit(int check, std::u16string_view key, const std::u16string& minimum, int messageId);
    Verdict OfficeApplication();
    Verdict Xna();
    Verdict SqlExpress() { return Sql(16, SqlExpressTable(), c_.sqlExpress); }
    Verdict SqlCompact() { return Sql(17, SqlCompactTable(), c_.sqlCompact); }
    Verdict Sql(int check, std::span<const SqlRow> table, const std::u16string& name);
    Verdict ActiveSync();
    bool ActiveSyncRowMet(const ActiveSyncRow& row);
    Verdict Interop2003() { return Interop(19, InteropSet::Office2003, c_.office2003Interop, launch_message::kInterop2003); }
    Verdict Interop2007() { return Interop(20, InteropSet::Office2007, c_.office2007Interop, launch_message::kInterop2007); }
    Verdict Interop2010() { return Interop(21, InteropSet::Office2010, c_.office2010Interop, launch_message::kInterop2010); }
    Verdict InteropShared() { return Interop(22, InteropSet::Shared, c_.officeSharedInterop, launch_message::kInteropShared); }
    Verdict Interop(int check, InteropSet set, const std::u16string& name, int messageId);
    Verdict ToolsRuntime();

    const LaunchConditions& c_;
    LaunchConditionSystem& system_;
    const SearchEvaluator& searches_;
    const std::vector<std::u16string>& sites_;
    std::optional<OsIdentity> os_;
};

Verdict ConditionChecker::OperatingSystem() {
    if (c_.win9xVersions.empty() && c_.winNtVersions.empty() && c_.winNt64Versions.empty()) return std::nullopt;
    const OsIdentity& os = Os();
    const std::u16string* excluded = &c_.winNtVersions;
    const std::u16string* display = &c_.winNtName;
    std::u16string_view family = kFamilyNt32;
    if (os.platform == OsPlatform::Windows9x) {
        excluded = &c_.win9xVersions, display = &c_.win9xName, family = kFamily9x;
    } else if (os.platform == OsPlatform::Nt64) {
        excluded = &c_.winNt64Versions, display = &c_.winNt64Name, family = kFamilyNt64;
    }
    if (excluded->empty()) return std::nullopt;
    // A package without a display text still names what it excludes.
    const std::u16string& shown = display->empty() ? *excluded : *display;
    if (*excluded == family) return Fail(1, launch_message::kOsFamily, shown);
    for (const std::u16string_view item : SplitList(*excluded)) {
        if (item == os.name) return Fail(1, launch_message::kOsVersions, shown);
    }
    return std::nullopt;
}

Verdict ConditionChecker::InternetExplorer() {
    if (c_.minIeVersion.empty()) return std::nullopt;
    if (Present(Search(search_type::kFileVersion, u"[SystemFolder]wininet.dll", c_.minIeVersion))) return std::nullopt;
    return Fail(2, launch_message::kInternetExplorer, c_.minIeVersionName.empty() ? c_.minIeVersion : c_.minIeVersionName);
}

Verdict ConditionChecker::Iis() {
    if (c_.minIisVersion.empty()) return std::nullopt;
    const SearchScope nativeFiles{false, true};
    const bool server = Present(Search(search_type::kFileVersion, u"[SystemFolder]inetsrv\\inetinfo.exe", c_.minIisVersion), nativeFiles) ||
                        Present(Search(search_type::kFileVersion, u"[SystemFolder]inetsrv\\w3wp.exe", c_.minIisVersion), nativeFiles);
    if (server && Present(Search(search_type::kValueExists, u"HKLM\\SYSTEM\\CurrentControlSet\\Services\\W3SVC\\DisplayName"))) {
        return std::nullopt;
    }
    return Fail(3, launch_message::kIis, c_.minIisVersion);
}

Verdict ConditionChecker::DotNet() {
    const std::u16string& wanted = c_.minDotNetVersion;
    if (wanted.empty()) return std::nullopt;
    static const VersionNumber kFull[] = {VersionNumber(1, 0, 0, 0), VersionNumber(1, 1, 0, 0), VersionNumber(2, 0, 0, 0),
                                          VersionNumber(3, 0, 0, 0), VersionNumber(3, 5, 0, 0), VersionNumber(4, 0, 0, 0)};
    static const std::size_t kRowOfFull[] = {0, 1, 2, 3, 4, 6};
    constexpr std::size_t kClientRow = 5;
    std::optional<std::size_t> row;
    if (IsPlainVersion(wanted)) {
        if (const auto index = IndexOfVersion(wanted, kFull)) row = kRowOfFull[*index];
    } else {
        // "4.0 Client" and the like: the client profile, named by its leading version.
        const std::size_t end = wanted.find_first_not_of(u"0123456789.");
        if (VersionNumber::Parse(std::u16string_view(wanted).substr(0, end)) == VersionNumber(4, 0, 0, 0)) row = kClientRow;
    }
    if (!row) return Unmapped(4, launch_message::kDotNet, wanted);
    const std::span<const DotNetRow> table = DotNetTable();
    for (std::size_t index = *row; index < table.size(); ++index) {
        const std::u16string reference = u"M" + std::u16string(table[index].reference);
        if (Present(Search(search_type::kValueCompare, table[index].valuePath, {}, reference))) return std::nullopt;
    }
    return Fail(4, launch_message::kDotNet, wanted);
}

Verdict ConditionChecker::Screen() {
    const std::u16string& wanted = c_.minScreenResolution;
    if (wanted.empty()) return std::nullopt;
    const std::size_t x = wanted.find(u'x');
    const std::optional<std::uint64_t> width = x == std::u16string::npos ? std::nullopt : Decimal(std::u16string_view(wanted).substr(0, x));
    const std::optional<std::uint64_t> height = x == std::u16string::npos ? std::nullopt : Decimal(std::u16string_view(wanted).substr(x + 1));
    if (!width || !height) return Unmapped(5, launch_message::kScreen, wanted);
    const ScreenSize screen = system_.PrimaryScreen();
    if (screen.width < 0 || screen.height < 0 || static_cast<std::uint64_t>(screen.width) < *width ||
        static_cast<std::uint64_t>(screen.height) < *height) {
        return Fail(5, launch_message::kScreen, wanted);
    }
    return std::nullopt;
}

Verdict ConditionChecker::Colour() {
    if (c_.minColourQuality.empty()) return std::nullopt;
    const std::optional<std::uint64_t> bits = Decimal(c_.minColourQuality);
    if (!bits) return Unmapped(6, launch_message::kColour, c_.minColourQuality);
    const std::int64_t have = system_.ColourBits();
    if (have < 0 || static_cast<std::uint64_t>(have) < *bits) return Fail(6, launch_message::kColour, c_.minColourQuality);
    return std::nullopt;
}

Verdict ConditionChecker::Memory() {
    if (c_.minPhysicalMemory.empty()) return std::nullopt;
    const std::optional<std::uint64_t> megabytes = Decimal(c_.minPhysicalMemory);
    if (!megabytes) return Unmapped(7, launch_message::kMemory, c_.minPhysicalMemory);
    constexpr std::uint64_t kMegabyte = 1048576;
    const std::uint64_t bytes = system_.PhysicalMemoryBytes();
    const std::uint64_t have = bytes / kMegabyte + (bytes % kMegabyte != 0 ? 1 : 0);  // rounded up
    if (have < *megabytes) return Fail(7, launch_message::kMemory, c_.minPhysicalMemory);
    return std::nullopt;
}

Verdict ConditionChecker::Administrator() {
    if (!c_.adminPrivileges || Os().platform == OsPlatform::Windows9x) return std::nullopt;
    if (system_.IsAdministrator()) return std::nullopt;
    return Fail(8, launch_message::kAdministrator, {});
}

Verdict ConditionChecker::Internet() {
    if (!c_.activeInternetConnection) return std::nullopt;
    for (const std::u16string& site : sites_) {
        if (system_.CanReach(site)) return std::nullopt;
    }
    return Fail(9, launch_message::kInternet, {});
}

Verdict ConditionChecker::AcrobatReader() {
    const std::u16string& wanted = c_.minAcrobatReaderVersion;
    if (wanted.empty()) return std::nullopt;
    static const VersionNumber kVersions[] = {VersionNumber(5, 0, 0, 0), VersionNumber(6, 0, 0, 0), VersionNumber(7, 0, 0, 0),
                                              VersionNumber(8, 0, 0, 0), VersionNumber(9, 0, 0, 0), VersionNumber(10, 0, 0, 0)};
    const std::optional<std::size_t> first = IndexOfVersion(wanted, kVersions);
    if (!first) return Unmapped(10, launch_message::kAcrobatReader, wanted);
    const std::span<const std::u16string_view> keys = AcrobatReaderKeys();
    for (std::size_t index = *first; index < keys.size(); ++index) {
        if (Present(Search(search_type::kKeyExists, keys[index]))) return std::nullopt;
    }
    return Fail(10, launch_message::kAcrobatReader, wanted);
}

Verdict ConditionChecker::DirectX() {
    const std::u16string& wanted = c_.minDirectXVersion;
    if (wanted.empty()) return std::nullopt;
    const std::optional<std::u16string_view> minimum = DirectXMinimum(wanted);
    if (!minimum) return Unmapped(11, launch_message::kDirectX, wanted);
    // The registry's DirectX version stays at 9.0c's on every later Windows: DirectX 10 comes
    // with every NT 6.0 and later, DirectX 11 with every NT 6.1 and later.
    const OsIdentity& os = Os();
    if (os.platform != OsPlatform::Windows9x) {
        const bool atLeast60 = os.major >= 6;
        const bool atLeast61 = os.major > 6 || (os.major == 6 && os.minor >= 1);
        if (*minimum == kDirectX10Minimum && atLeast60) return std::nullopt;
        if (*minimum == kDirectX11Minimum && atLeast61) return std::nullopt;
    }
    if (Present(Search(search_type::kValueVersion, kDirectXVersionValue, *minimum))) return std::nullopt;
    return Fail(11, launch_message::kDirectX, wanted);
}

Verdict ConditionChecker::JavaKit(int check, std::u16string_view key, const std::u16string& minimum, int messageId) {
    if (minimum.empty()) return std::nullopt;
    if (Present(Search(search_type::kSubkeyVersions, key, minimum))) return std::nullopt;
    return Fail(check, messageId, minimum);
}

Verdict ConditionChecker::OfficeApplication() {
    const std::u16string& name = c_.officeApplication;
    if (name.empty()) return std::nullopt;
    const int messageId = c_.officeRelease == 2003   ? launch_message::kOffice2003
                          : c_.officeRelease == 2007 ? launch_message::kOffice2007
                                                     : launch_message::kOffice2010;
    if (name == kVisioViewer) {
        for (const std::u16string_view file : VisioViewerFiles()) {
            if (Present(Search(search_type::kFileVersion, file, u"14"))) return std::nullopt;
        }
        return Fail(14, messageId, name);
    }
    for (const OfficeRow& row : OfficeTable()) {
        if (row.name != name) continue;
        const std::size_t start = c_.officeRelease == 2003 ? 0 : (c_.officeRelease == 2007 ? 1 : 2);
        for (std::size_t column = start; column < 3; ++column) {
            if (!row.byRelease[column].empty() && Present(Search(search_type::kValueExists, row.byRelease[column]))) {
                return std::nullopt;
            }
        }
        return Fail(14, messageId, name);
    }
    return std::nullopt;  // an application the table does not know is not checked
}

Verdict ConditionChecker::Xna() {
    const std::u16string& wanted = c_.xnaFramework;
    if (wanted.empty()) return std::nullopt;
    static const VersionNumber kVersions[] = {VersionNumber(1, 0, 0, 0), VersionNumber(2, 0, 0, 0), VersionNumber(3, 0, 0, 0),
                                              VersionNumber(3, 1, 0, 0), VersionNumber(4, 0, 0, 0)};
    const std::optional<std::size_t> first = IndexOfVersion(wanted, kVersions);
    if (!first) return Unmapped(15, launch_message::kXna, wanted);
    const std::span<const std::u16string_view> values = XnaFrameworkValues();
    for (std::size_t index = *first; index < values.size(); ++index) {
        if (Present(Search(search_type::kValueExists, values[index]))) return std::nullopt;
    }
    return Fail(15, launch_message::kXna, wanted);
}

Verdict ConditionChecker::Sql(int check, std::span<const SqlRow> table, const std::u16string& name) {
    if (name.empty()) return std::nullopt;
    for (const SqlRow& row : table) {
        if (row.name == name && Present(Search(search_type::kValueVersion, row.valuePath, row.minimum))) return std::nullopt;
    }
    return Fail(check, launch_message::kSql, name);
}

bool ConditionChecker::ActiveSyncRowMet(const ActiveSyncRow& row) {
    if (!Present(Search(search_type::kValueExists, kActiveSyncApplication))) return false;
    const auto read = [this](std::u16string_view path) -> std::optional<std::uint64_t> {
        const SearchResult result = searches_.Evaluate(Search(search_type::kValueCompare, path), {});
        return result.valueRead ? Decimal(result.valueText) : std::nullopt;
    };
    const std::optional<std::uint64_t> major = read(kActiveSyncMajor);
    const std::optional<std::uint64_t> minor = read(kActiveSyncMinor);
    if (!major || !minor) return false;
    const auto wantMajor = static_cast<std::uint64_t>(row.major);
    return *major > wantMajor || (*major == wantMajor && *minor >= static_cast<std::uint64_t>(row.minor));
}

Verdict ConditionChecker::ActiveSync() {
    if (c_.activeSync.empty()) return std::nullopt;
    for (const ActiveSyncRow& row : ActiveSyncTable()) {
        if (row.name == c_.activeSync && !ActiveSyncRowMet(row)) return Fail(18, launch_message::kActiveSync, c_.activeSync);
    }
    return std::nullopt;
}

Verdict ConditionChecker::Interop(int check, InteropSet set, const std::u16string& name, int messageId) {
    if (name.empty()) return std::nullopt;
    if (Present(Search(search_type::kComponentInstalled, InteropComponent(set, name)))) return std::nullopt;
    return Fail(check, messageId, name);
}

Verdict ConditionChecker::ToolsRuntime() {
    const std::u16string& name = c_.officeToolsRuntime;
    if (name.empty()) return std::nullopt;
    const std::u16string_view value = OfficeToolsRuntimeValue(name);
    if (!value.empty() && Present(Search(search_type::kValueExists, value))) return std::nullopt;
    return Fail(23, launch_message::kToolsRuntime, name);
}

}  // namespace

LaunchConditionsVerdict CheckLaunchConditions(const LaunchConditions& conditions, LaunchConditionSystem& system,
                                              const SearchEvaluator& searches, const std::vector<std::u16string>& sites) {
    return ConditionChecker(conditions, system, searches, sites).Run();
}

}  // namespace maglorin
