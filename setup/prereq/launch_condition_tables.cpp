#include "launch_condition_tables.h"

#include <array>

namespace maglorin {

namespace {

constexpr std::array kDotNet{
    DotNetRow{u"HKLM\\SOFTWARE\\Microsoft\\.NETFramework\\policy\\v1.0\\3705", u"3321-3705"},
    DotNetRow{u"HKLM\\SOFTWARE\\Microsoft\\NET Framework Setup\\NDP\\v1.1.4322\\Install", u"1"},
    DotNetRow{u"HKLM\\SOFTWARE\\Microsoft\\NET Framework Setup\\NDP\\v2.0.50727\\Install", u"1"},
    DotNetRow{u"HKLM\\SOFTWARE\\Microsoft\\NET Framework Setup\\NDP\\v3.0\\Setup\\InstallSuccess", u"1"},
    DotNetRow{u"HKLM\\SOFTWARE\\Microsoft\\NET Framework Setup\\NDP\\v3.5\\Install", u"1"},
    DotNetRow{u"HKLM\\SOFTWARE\\Microsoft\\NET Framework Setup\\NDP\\v4\\Client\\Install", u"1"},
    DotNetRow{u"HKLM\\SOFTWARE\\Microsoft\\NET Framework Setup\\NDP\\v4\\Full\\Install", u"1"},
};

constexpr std::array<std::u16string_view, 6> kAcrobatReader{
    u"HKLM\\Software\\Adobe\\Acrobat Reader\\5.0\\InstallPath\\",
    u"HKLM\\Software\\Adobe\\Acrobat Reader\\6.0\\InstallPath\\",
    u"HKLM\\Software\\Adobe\\Acrobat Reader\\7.0\\InstallPath\\",
    u"HKLM\\Software\\Adobe\\Acrobat Reader\\8.0\\InstallPath\\",
    u"HKLM\\Software\\Adobe\\Acrobat Reader\\9.0\\InstallPath\\",
    u"HKLM\\Software\\Adobe\\Acrobat Reader\\10.0\\InstallPath\\",
};

constexpr std::array<std::u16string_view, 5> kXna{
    u"HKLM\\SOFTWARE\\Microsoft\\XNA\\Framework\\v1.0\\NativeLibraryPath",
    u"HKLM\\SOFTWARE\\Microsoft\\XNA\\Framework\\v2.0\\NativeLibraryPath",
    u"HKLM\\SOFTWARE\\Microsoft\\XNA\\Framework\\v3.0\\NativeLibraryPath",
    u"HKLM\\SOFTWARE\\Microsoft\\XNA\\Framework\\v3.1\\NativeLibraryPath",
    u"HKLM\\SOFTWARE\\Microsoft\\XNA\\Framework\\v4.0\\NativeLibraryPath",
};

struct DirectXRow {
    std::u16string_view name;
    std::u16string_view minimum;
};
constexpr std::array kDirectX{
    DirectXRow{u"7.0", u"4.07.00.0700"},  DirectXRow{u"7.0a", u"4.07.00.0716"}, DirectXRow{u"7.1", u"4.07.01.3000"},
    DirectXRow{u"8.0a", u"4.08.00.0400"}, DirectXRow{u"8.1", u"4.08.01.0810"},  DirectXRow{u"8.1b", u"4.08.01.0901"},
    DirectXRow{u"8.2", u"4.08.02.0134"},  DirectXRow{u"9.0", u"4.09.00.0900"},  DirectXRow{u"9.0a", u"4.09.00.0901"},
    DirectXRow{u"9.0b", u"4.09.00.0902"}, DirectXRow{u"9.0c", u"4.09.00.0903"}, DirectXRow{u"10", kDirectX10Minimum},
    DirectXRow{u"11", kDirectX11Minimum},
};

#define MAGLORIN_OFFICE_PATH(release, app) u"HKLM\\SOFTWARE\\Microsoft\\Office\\" release u"\\" app u"\\InstallRoot\\Path"
#define MAGLORIN_OFFICE_ROW(name, app)                                                          \
    OfficeRow {                                                                                 \
        name, {                                                                                 \
            MAGLORIN_OFFICE_PATH(u"11.0", app), MAGLORIN_OFFICE_PATH(u"12.0", app),             \
                MAGLORIN_OFFICE_PATH(u"14.0", app)                                              \
        }                                                                                       \
    }

// Groove 2007 is found through its own key (Groove's install root, as SharePoint Workspace 2010,
// its successor, is), never through another application's.
constexpr std::array kOffice{
    MAGLORIN_OFFICE_ROW(u"Microsoft Access", u"Access"),
    MAGLORIN_OFFICE_ROW(u"Microsoft Excel", u"Excel"),
    OfficeRow{u"Microsoft Groove", {u"", MAGLORIN_OFFICE_PATH(u"12.0", u"Groove"), u""}},
    MAGLORIN_OFFICE_ROW(u"Microsoft InfoPath", u"InfoPath"),
    MAGLORIN_OFFICE_ROW(u"Microsoft OneNote", u"OneNote"),
    MAGLORIN_OFFICE_ROW(u"Microsoft Outlook", u"Outlook"),
    MAGLORIN_OFFICE_ROW(u"Microsoft PowerPoint", u"PowerPoint"),
    MAGLORIN_OFFICE_ROW(u"Microsoft Publisher", u"Publisher"),
    OfficeRow{u"Microsoft Sharepoint Workspace", {u"", u"", MAGLORIN_OFFICE_PATH(u"14.0", u"Groove")}},
    MAGLORIN_OFFICE_ROW(u"Microsoft Word", u"Word"),
};

#undef MAGLORIN_OFFICE_ROW
#undef MAGLORIN_OFFICE_PATH

constexpr std::array<std::u16string_view, 2> kVisioViewerFiles{
    u"[ProgramFilesFolder]Microsoft Office\\Office14\\vviewer.dll",
    u"[ProgramFiles64Folder]Microsoft Office\\Office14\\vviewer.dll",
};

constexpr std::u16string_view kSql90 =
    u"HKLM\\SOFTWARE\\Microsoft\\Microsoft SQL Server\\90\\Tools\\ClientSetup\\CurrentVersion\\CurrentVersion";
constexpr std::u16string_view kSqlRedist =
    u"HKLM\\SOFTWARE\\Microsoft\\Microsoft SQL Server 2008 Redist\\SQLNCLI10\\1033\\CurrentVersion\\Version";
constexpr std::u16string_view kSqlNativeClient =
    u"HKLM\\SOFTWARE\\Microsoft\\Microsoft SQL Server Native Client 10.0\\CurrentVersion\\Version";

constexpr std::array kSqlExpress{
    SqlRow{u"SQL Server Express 2005", kSql90, u"9.0"},
    SqlRow{u"SQL Server Express 2005 SP1", kSql90, u"9.00.2047"},
    SqlRow{u"SQL Server Express 2005 SP2", kSql90, u"9.00.3042"},
    SqlRow{u"SQL Server Express 2005 SP3", kSql90, u"9.00.4035"},
    SqlRow{u"SQL Server Express 2008",
           u"HKLM\\SOFTWARE\\Microsoft\\Microsoft SQL Server\\SQLEXPRESS\\MSSQLServer\\CurrentVersion\\CurrentVersion",
           u"10.0"},
    SqlRow{u"SQL Server Express 2008",
           u"HKLM\\SOFTWARE\\Microsoft\\Microsoft SQL Server\\SQLSERVER2008\\MSSQLServer\\CurrentVersion\\CurrentVersion",
           u"10.0"},
    SqlRow{u"SQL Server Express 2008 SP1", kSqlRedist, u"10.1"},
    SqlRow{u"SQL Server Express 2008 SP1", kSqlNativeClient, u"10.1"},
    SqlRow{u"SQL Server Express 2008 R2", kSqlRedist, u"10.50"},
    SqlRow{u"SQL Server Express 2008 R2", kSqlNativeClient, u"10.50"},
};

constexpr std::u16string_view kSqlCompactLevel =
    u"HKLM\\SOFTWARE\\Microsoft\\Microsoft SQL Server Compact Edition\\v3.5\\ENU\\DesktopRuntimeServicePackLevel";
constexpr std::array kSqlCompact{
    SqlRow{u"SQL Server Compact 3.5",
           u"HKLM\\SOFTWARE\\Microsoft\\Microsoft SQL Server Compact Edition\\v3.5\\ENU\\DesktopRuntimeVersion", u"3.5"},
    SqlRow{u"SQL Server Compact 3.5 SP1", kSqlCompactLevel, u"1"},
    SqlRow{u"SQL Server Compact 3.5 SP2", kSqlCompactLevel, u"2"},
};

constexpr std::array kActiveSync{
    ActiveSyncRow{u"ActiveSync 3.8", 3, 8},
    ActiveSyncRow{u"ActiveSync 4.2", 4, 2},
    ActiveSyncRow{u"ActiveSync 4.5", 4, 5},
    ActiveSyncRow{u"Windows Mobile Device Center 6.0", 6, 0},
    ActiveSyncRow{u"Windows Mobile Device Center 6.1", 6, 1},
};

struct InteropRow {
    InteropSet set;
    std::u16string_view name;
    std::u16string_view component;
};
constexpr std::array kInterop{
    InteropRow{InteropSet::Office2003, u"Microsoft Excel", u"{A1FE0698-609D-400F-BF10-F52238DD6475}"},
    InteropRow{InteropSet::Office2003, u"Microsoft InfoPath", u"{C1E59364-35F6-44B3-AF0F-FCA934C4B252}"},
    InteropRow{InteropSet::Office2003, u"Microsoft Outlook", u"{14D3E42A-A318-4D77-9895-A7EE585EFC3B}"},
    InteropRow{InteropSet::Office2003, u"Microsoft PowerPoint", u"{3F40FA9E-26CA-4CA2-93C9-603622349915}"},
    InteropRow{InteropSet::Office2003, u"Microsoft Visio", u"{6F1AE751-4D8A-4B25-AC0A-C6CB912A9791}"},
    InteropRow{InteropSet::Office2003, u"Microsoft Word", u"{1C8772BD-6E6F-4C9D-8FF8-B5EA072F86EF}"},
    InteropRow{InteropSet::Office2003, u"Microsoft Forms", u"{835AC3CE-E36B-4D65-B50F-2863A682ABEE}"},
    InteropRow{InteropSet::Office2003, u"Microsoft Graph", u"{A58B51D1-89BF-4D88-939D-B6D0DB2EEB53}"},
    InteropRow{InteropSet::Office2003, u"Microsoft Smart Tag", u"{53C65973-D89D-4EA0-8567-8788C14E0A02}"},
    InteropRow{InteropSet::Office2007, u"Microsoft Excel", u"{1ABEAF09-435F-47D6-9FEB-0AD05D4EF3EA}"},
    InteropRow{InteropSet::Office2007, u"Microsoft InfoPath", u"{F1B5AE30-CB00-4DCF-978B-07D33B034ADB}"},
    InteropRow{InteropSet::Office2007, u"Microsoft Outlook", u"{ED569DB3-58C4-4463-971F-4AAABB6440BD}"},
    InteropRow{InteropSet::Office2007, u"Microsoft PowerPoint", u"{04E73476-518E-4B6A-8E10-021A00078847}"},
    InteropRow{InteropSet::Office2007, u"Microsoft Visio", u"{C1F1028F-D91A-43E8-A117-4F7CAFD7A041}"},
    InteropRow{InteropSet::Office2007, u"Microsoft Word", u"{816D4DFD-FF7B-4C16-8943-EEB07DF989CB}"},
    InteropRow{InteropSet::Office2007, u"Microsoft Forms", u"{835AC3CE-E36B-4D65-B50F-2863A682ABEE}"},
    InteropRow{InteropSet::Office2007, u"Microsoft Graph", u"{580CB155-841D-4D48-9F59-866A035C2241}"},
    InteropRow{InteropSet::Office2007, u"Microsoft Smart Tag", u"{00B41853-4377-4AD8-AD44-8404E0D331EC}"},
    InteropRow{InteropSet::Office2007, u"Microsoft Project", u"{957A4EC0-E67B-4E86-A383-6AF7270B216A}"},
    InteropRow{InteropSet::Office2010, u"Microsoft Excel", u"{EA7564AC-C67D-4868-BE5C-26E4FC2223FF}"},
    InteropRow{InteropSet::Office2010, u"Microsoft InfoPath", u"{4153F732-D670-4E44-8AB7-500F2B576BDA}"},
    InteropRow{InteropSet::Office2010, u"Microsoft Outlook", u"{1D844339-3DAE-413E-BC13-62D6A52816B2}"},
    InteropRow{InteropSet::Office2010, u"Microsoft PowerPoint", u"{EECBA6B8-3A62-44AD-99EB-8666265466F9}"},
    InteropRow{InteropSet::Office2010, u"Microsoft Visio", u"{3EA123B5-6316-452E-9D51-A489E06E2347}"},
    InteropRow{InteropSet::Office2010, u"Microsoft Word", u"{8B74A499-37F8-4DEA-B5A0-D72FC501CEFA}"},
    InteropRow{InteropSet::Office2010, u"Microsoft Forms", u"{B2279272-3FD2-434D-B94E-E4E0F8561AC4}"},
    InteropRow{InteropSet::Office2010, u"Microsoft Graph", u"{011B9112-EBB1-4A6C-86CB-C2FDC9EA7B0E}"},
    InteropRow{InteropSet::Office2010, u"Microsoft Smart Tag", u"{7102C98C-EF47-4F04-A227-FE33650BF954}"},
    InteropRow{InteropSet::Office2010, u"Microsoft Project", u"{957A4EC0-E67B-4E86-A383-6AF7270B216A}"},
    InteropRow{InteropSet::Shared, u"Office Shared 2007", u"{FAB10E66-B22C-4274-8647-7CA1BA5EF30F}"},
    InteropRow{InteropSet::Shared, u"Office Shared 2010", u"{64E2917E-AA13-4CA4-BFFE-EA6EDA3AFCB4}"},
};

struct ToolsRuntimeRow {
    std::u16string_view name;
    std::u16string_view valuePath;
};
constexpr std::array kToolsRuntimes{
    ToolsRuntimeRow{u"Visual Studio Tools for Office 2005 SE Runtime",
                    u"HKLM\\Software\\Microsoft\\vsto runtime Setup\\v2.0.50727\\Install"},
    ToolsRuntimeRow{u"Visual Studio Tools for the Microsoft Office 3.0 Runtime",
                    u"HKLM\\Software\\Microsoft\\VSTO Runtime Setup\\v9.0.21022\\Install"},
    ToolsRuntimeRow{u"Visual Studio Tools for Office 2010 Runtime",
                    u"HKLM\\SOFTWARE\\Microsoft\\VSTO Runtime Setup\\v4\\Install"},
};

}  // namespace

std::span<const DotNetRow> DotNetTable() { return kDotNet; }
std::span<const std::u16string_view> AcrobatReaderKeys() { return kAcrobatReader; }
std::span<const std::u16string_view> XnaFrameworkValues() { return kXna; }
std::span<const OfficeRow> OfficeTable() { return kOffice; }
std::span<const std::u16string_view> VisioViewerFiles() { return kVisioViewerFiles; }
std::span<const SqlRow> SqlExpressTable() { return kSqlExpress; }
std::span<const SqlRow> SqlCompactTable() { return kSqlCompact; }
std::span<const ActiveSyncRow> ActiveSyncTable() { return kActiveSync; }

std::optional<std::u16string_view> DirectXMinimum(std::u16string_view name) {
    for (const DirectXRow& row : kDirectX) {
        if (row.name == name) return row.minimum;
    }
    return std::nullopt;
}

std::u16string_view InteropComponent(InteropSet set, std::u16string_view name) {
    for (const InteropRow& row : kInterop) {
        if (row.set == set && row.name == name) return row.component;
    }
    return {};
}

std::u16string_view OfficeToolsRuntimeValue(std::u16string_view name) {
    for (const ToolsRuntimeRow& row : kToolsRuntimes) {
        if (row.name == name) return row.valuePath;
    }
    return {};
}

}  // namespace maglorin
