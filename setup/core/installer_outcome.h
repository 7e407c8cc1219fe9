#pragma once
// What the installer's end means for setup: its exit code, its result and the clean-up mode of
// the extracted files.

#include <cstdint>
#include <optional>

#include "cleanup_rules.h"

namespace maglorin {

// Exit codes of msiexec.exe with a meaning of their own.
inline constexpr std::uint32_t kInstallerSuccess = 0;
inline constexpr std::uint32_t kInstallerUserExit = 1602;
inline constexpr std::uint32_t kInstallerRestartInitiated = 1641;
inline constexpr std::uint32_t kInstallerRestartRequired = 3010;

inline constexpr std::int32_t kResultInstallerNotStarted = 7;
inline constexpr std::int32_t kExitCancelled = -1;
inline constexpr std::int32_t kExitError = 1;

struct InstallerOutcome {
    std::int32_t exitCode = 0;
    std::int32_t result = 0;                  // 0, or 7 when the installer could not be started
    std::optional<CleanupMode> cleanupMode;   // none: leave the mode as it is
};

struct InstallerRun {
    bool started = false;
    std::uint32_t exitCode = 0;               // the installer's, when started
    bool samePackageInstalledBefore = false;  // this very package was installed before the run
    bool productStillInstalled = false;       // its product is in state 5 after the run
};

// Start failed: exit code 1, result 7, delete the main package unless it was installed before.
// Started: the installer's code; on success (0, 1641, 3010) an uninstalled same package resets
// the clean-up to the default; any other code deletes the main package unless it was installed
// before. 1602 (the user cancelled) becomes -1.
InstallerOutcome DecideInstallerOutcome(const InstallerRun& run);

}  // namespace maglorin

namespace maglorin {

// The extraction of the main package shows its progress window unless the run is quiet or
// there is nothing to extract (the database lies beside setup uncompressed).
bool ShowsExtractionProgress(PackageFlags flags, bool quiet);

// A launch that ends before the installer runs: an extraction result (14, cancelled, gives -1),
// with the clean-up mode reset unless this very package is already installed.
InstallerOutcome ExtractionFailureOutcome(std::int32_t extractionResult, bool samePackageInstalled);

}  // namespace maglorin
