#include "package_configuration.h"

#include <vector>

#include "package_result.h"

namespace maglorin {

int ReadPackageConfiguration(const PayloadReader& reader, const std::filesystem::path& setupFolder,
                             ConfigurationFile& configuration) {
    if (HasFlag(reader.Flags(), PackageFlags::ConfigurationInPayload)) {
        const std::size_t entry = reader.FindEntry(PayloadGroup::SetupFiles, PayloadFileType::Configuration);
        if (entry == PayloadReader::kNone) return kResultReadError;
        std::vector<std::uint8_t> data;
        if (const int result = reader.ReadEntryData(entry, data); result != kResultSuccess) return result;
        configuration = ConfigurationFile::Parse(std::span<const std::uint8_t>(data));
        return kResultSuccess;
    }
    const std::size_t external = reader.FindExternalFile(PayloadFileType::Configuration);
    if (external == PayloadReader::kNone) return kResultReadError;
    const std::filesystem::path file = setupFolder / std::filesystem::path(reader.ExternalFiles()[external].name);
    return LoadConfigurationFile(file, configuration);
}

}  // namespace maglorin
