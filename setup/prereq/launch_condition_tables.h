#pragma once
// Where other products leave their traces: the registry locations, files and installer
// component codes the launch conditions look for, by product and version.

#include <optional>
#include <span>
#include <string_view>

namespace maglorin {

// .NET Framework: each row's value must equal its reference. Rows 0 to 6: 1.0, 1.1, 2.0, 3.0,
// 3.5, 4.0 client profile, 4.0 full.
struct DotNetRow {
    std::u16string_view valuePath;
    std::u16string_view reference;
};
std::span<const DotNetRow> DotNetTable();

// Adobe Reader 5 to 10 (index 0 to 5): the install key.
std::span<const std::u16string_view> AcrobatReaderKeys();

// XNA Framework 1.0, 2.0, 3.0, 3.1, 4.0 (index 0 to 4): a value that exists when installed.
std::span<const std::u16string_view> XnaFrameworkValues();

inline constexpr std::u16string_view kDirectXVersionValue = u"HKLM\\SOFTWARE\\Microsoft\\DirectX\\Version";
// The least "Version" value of a DirectX name ("9.0c" -> "4.09.00.0903"); nullopt for a name
// not in the table.
std::optional<std::u16string_view> DirectXMinimum(std::u16string_view name);
inline constexpr std::u16string_view kDirectX10Minimum = u"6.00.6000.16386";
inline constexpr std::u16string_view kDirectX11Minimum = u"6.01.7000.0000";

// Office applications: the value that exists when the application of one release is installed;
// empty where the release has no such application. Columns: 2003, 2007, 2010.
struct OfficeRow {
    std::u16string_view name;
    std::u16string_view byRelease[3];
};
std::span<const OfficeRow> OfficeTable();
inline constexpr std::u16string_view kVisioViewer = u"Microsoft Visio Viewer";
std::span<const std::u16string_view> VisioViewerFiles();  // each searched with minimum "14"

// SQL Server Express and Compact: a name may have several rows; one in range is enough.
struct SqlRow {
    std::u16string_view name;
    std::u16string_view valuePath;
    std::u16string_view minimum;
};
std::span<const SqlRow> SqlExpressTable();
std::span<const SqlRow> SqlCompactTable();

// ActiveSync and Windows Mobile Device Center: the application path must exist and the
// installed major.minor be at least the row's.
struct ActiveSyncRow {
    std::u16string_view name;
    int major;
    int minor;
};
std::span<const ActiveSyncRow> ActiveSyncTable();
inline constexpr std::u16string_view kActiveSyncApplication =
    u"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\CEAPPMGR.EXE\\";
inline constexpr std::u16string_view kActiveSyncMajor = u"HKLM\\SOFTWARE\\Microsoft\\Windows CE Services\\MajorVersion";
inline constexpr std::u16string_view kActiveSyncMinor = u"HKLM\\SOFTWARE\\Microsoft\\Windows CE Services\\MinorVersion";

// Primary interop assemblies: installer component codes by set.
enum class InteropSet { Office2003, Office2007, Office2010, Shared };
// Empty for a name not in the set (an empty code is never installed).
std::u16string_view InteropComponent(InteropSet set, std::u16string_view name);

// Office tools runtimes: a value that exists when installed; empty for an unknown name.
std::u16string_view OfficeToolsRuntimeValue(std::u16string_view name);

}  // namespace maglorin
