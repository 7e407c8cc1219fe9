#include "groups_extract_win32.h"

#include <vector>

#include "configuration_file.h"
#include "general_options.h"
#include "progress_pipe_transport_win32.h"

namespace maglorin {

namespace {

// The configuration in the payload or beside setup; result 0, 2 or 3.
[[nodiscard]] int ReadConfiguration(const PayloadReader& reader, const std::filesystem::path& setupFolder, GeneralOptions& options) {
    ConfigurationFile configuration;
    if (HasFlag(reader.Flags(), PackageFlags::ConfigurationInPayload)) {
        const std::size_t entry = reader.FindEntry(PayloadGroup::SetupFiles, PayloadFileType::Configuration);
        std::vector<std::uint8_t> data;
        if (entry == PayloadReader::kNone) {
            return kResultReadError;
        }
        if (const int result = reader.ReadEntryData(entry, data); result != kResultSuccess) {
            return result;
        }
        configuration = ConfigurationFile::Parse(std::span<const std::uint8_t>(data));
    } else {
        const std::size_t external = reader.FindExternalFile(PayloadFileType::Configuration);
        if (external == PayloadReader::kNone) {
            return kResultReadError;
        }
        const std::filesystem::path file = setupFolder / PathText(reader.ExternalFiles()[external].name);
        if (const int result = LoadConfigurationFile(file, configuration); result != kConfigurationLoaded) {
            return result;
        }
    }
    options = ReadGeneralOptions(configuration);
    return kResultSuccess;
}

[[nodiscard]] int ExitCodeFor(int result) {
    if (result == kResultSuccess) return 0;
    return result == kResultCancelled ? -1 : 1;
}

}  // namespace

GroupsExtractOutcome RunGroupsExtract(const GroupsExtractRequest& request, ExtractionServices services) {
    GroupsExtractOutcome outcome;
    PayloadReader reader;
    outcome.result = reader.Open(request.packagePath);
    if (outcome.result != kResultSuccess) {
        return outcome;
    }
    GeneralOptions options;
    if (HasFlag(reader.Flags(), PackageFlags::HasConfiguration)) {
        outcome.result = ReadConfiguration(reader, request.packagePath.parent_path(), options);
        if (outcome.result != kResultSuccess) {
            return outcome;
        }
    }
    // The digest is not verified on this route, so a sub-folder it cannot name is damage.
    const std::optional<PathText> subFolder = PackageSubFolderName(options.defaultProdCode, reader.DigestText());
    if (!subFolder) {
        outcome.result = kResultDamagedPackage;
        return outcome;
    }
    ExtractionSettings settings;
    settings.setupFolder = request.packagePath.parent_path().wstring() + L"\\";
    settings.packageSubFolder = *subFolder;
    settings.packJars = options.packJars;
    settings.userInterfaceEnabled = request.userInterfaceEnabled;
    settings.cleanupMode = CleanupMode::KeepEntries;
    PayloadExtractor extractor(reader, settings, services);
    extractor.SetExtractionFolder(OutFolderValue(request.outValue));
    const std::vector<std::int32_t> groups = ParseGroupIds(request.groupsValue);

    std::unique_ptr<ProgressPipeTransport> transport;
    if (request.callbackId) {
        transport = ProgressPipeTransport::Connect(*request.callbackId);
    }
    if (transport != nullptr) {
        outcome.progressConnected = true;
        ProgressPipe pipe(*transport, SignalStartEvent);
        outcome.result = extractor.ExtractGroups(groups, &pipe);
    } else {
        outcome.result = extractor.ExtractGroups(groups, nullptr);
    }
    outcome.exitCode = ExitCodeFor(outcome.result);
    return outcome;
}

}  // namespace maglorin
