#include "installer_outcome.h"

#include "extraction_result.h"

namespace maglorin {

namespace {

bool IsSuccessCode(std::uint32_t code) {
    return code == kInstallerSuccess || code == kInstallerRestartInitiated || code == kInstallerRestartRequired;
}

}  // namespace

InstallerOutcome DecideInstallerOutcome(const InstallerRun& run) {
    InstallerOutcome outcome;
    if (!run.started) {
        outcome.exitCode = kExitError;
        outcome.result = kResultInstallerNotStarted;
        if (!run.samePackageInstalledBefore) {
            outcome.cleanupMode = CleanupMode::DeleteMain;
        }
        return outcome;
    }
    // Windows exit codes are 32-bit; setup hands the installer's on unchanged.
    outcome.exitCode = static_cast<std::int32_t>(run.exitCode);
    if (IsSuccessCode(run.exitCode)) {
        // The same package was removed by this run: nothing of it is worth keeping.
        if (run.samePackageInstalledBefore && !run.productStillInstalled) {
            outcome.cleanupMode = CleanupMode::Default;
        }
    } else if (!run.samePackageInstalledBefore) {
        outcome.cleanupMode = CleanupMode::DeleteMain;
    }
    if (run.exitCode == kInstallerUserExit) {
        outcome.exitCode = kExitCancelled;
    }
    return outcome;
}

}  // namespace maglorin

namespace maglorin {

bool ShowsExtractionProgress(PackageFlags flags, bool quiet) {
    const bool nothingToExtract = HasFlag(flags, PackageFlags::FilesBesideSetup) &&
                                  !HasFlag(flags, PackageFlags::DatabaseInArchive) &&
                                  !HasFlag(flags, PackageFlags::BesideFilesCompressed);
    return !quiet && !nothingToExtract;
}

InstallerOutcome ExtractionFailureOutcome(std::int32_t extractionResult, bool samePackageInstalled) {
    InstallerOutcome outcome;
    outcome.result = extractionResult;
    outcome.exitCode = extractionResult == kResultCancelled ? kExitCancelled : kExitError;
    if (!samePackageInstalled) {
        outcome.cleanupMode = CleanupMode::Default;
    }
    return outcome;
}

}  // namespace maglorin
