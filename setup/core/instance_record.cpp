#include "instance_record.h"

#include <string>
#include <unordered_map>

namespace maglorin {

namespace {

// The first section of each name, so that a long instance list is read in one pass rather than
// one scan of the whole file per instance.
std::unordered_map<std::u16string_view, const ConfigurationSection*> FirstSections(
    const ConfigurationFile& file) {
    std::unordered_map<std::u16string_view, const ConfigurationSection*> sections;
    for (const ConfigurationSection& section : file.Sections()) sections.try_emplace(section.name, &section);
    return sections;
}

std::unordered_map<std::u16string_view, const std::u16string*> FirstKeys(const ConfigurationSection* section) {
    std::unordered_map<std::u16string_view, const std::u16string*> keys;
    if (section == nullptr) return keys;
    for (const ConfigurationEntry& entry : section->entries) keys.try_emplace(entry.key, &entry.value);
    return keys;
}

std::u16string InstanceKey(std::size_t number) {
    const std::string digits = std::to_string(number);
    return u"inst" + std::u16string(digits.begin(), digits.end());
}

}  // namespace

std::vector<InstanceRecord> ReadInstances(const ConfigurationFile& file) {
    std::vector<InstanceRecord> instances;
    const std::u16string* baseCode = file.FindKey(u"STARTUP", u"ProductCode");
    const std::u16string* baseVersion = file.FindKey(u"STARTUP", u"ProductVersion");
    if (baseCode == nullptr || baseVersion == nullptr) return instances;
    InstanceRecord base;
    base.productCode = *baseCode;
    base.version = VersionNumber::Parse(*baseVersion);
    instances.push_back(std::move(base));

    const auto sections = FirstSections(file);
    const auto transforms = FirstKeys(file.FindSection(u"INSTANCES"));
    for (std::size_t number = 1;; ++number) {
        const std::u16string key = InstanceKey(number);
        const auto transform = transforms.find(key);
        const auto section = sections.find(key);
        if (transform == transforms.end() || section == sections.end()) break;
        const std::u16string* productCode = section->second->FindKey(u"ProductCode");
        if (productCode == nullptr) break;
        InstanceRecord instance;
        instance.transformName = *transform->second;
        instance.productCode = *productCode;
        instances.push_back(std::move(instance));
    }
    return instances;
}

}  // namespace maglorin
