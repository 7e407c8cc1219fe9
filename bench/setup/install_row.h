#pragma once
// The install row of setup-bench: maglorin-setup.exe against msiexec alone, both under Wine.

#include <filesystem>

namespace maglorin {

// Times, under Wine in the session of the Windows tree this machine runs (windows_tree.h),
// "maglorin-setup.exe /exenoui /qn" against "msiexec /i" of the same database already extracted
// into `work` (install-timing.exe does the timing on the Windows side), and prints both with
// their ratio. Without that tree's built dist it says so and skips the row. 0 unless a run
// failed.
int ReportInstallRow(const std::filesystem::path& work);

}  // namespace maglorin
