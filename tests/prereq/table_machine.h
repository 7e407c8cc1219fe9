#pragma once
// A machine made of tables for the detection and launch-condition tests: registry keys and
// values, files with versions, folders, drives and installer-service answers. It records what
// it was asked, so tests can check views, redirection and the order of questions.

#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "detection_system.h"
#include "reference_resolver.h"

namespace maglorin::test_support {

inline std::u16string RootText(RegistryRoot root) {
    switch (root) {
    case RegistryRoot::LocalMachine: return u"HKLM";
    case RegistryRoot::CurrentUser: return u"HKCU";
    case RegistryRoot::ClassesRoot: return u"HKCR";
    case RegistryRoot::CurrentConfig: return u"HKCC";
    case RegistryRoot::Users: break;
    }
    return u"HKU";
}

class TableMachine final : public DetectionSystem {
public:
    // "HKLM\Software\Key" (no final "\") for keys; the key plus "\" and the value name for values.
    std::set<std::u16string> keys;
    std::map<std::u16string, RegistryData> values;
    std::map<std::u16string, std::vector<std::u16string>> subkeys;
    std::map<std::u16string, VersionNumber> files;  // full path -> fixed file version
    std::map<std::u16string, std::vector<std::u16string>> folders;  // folder -> subfolders
    std::vector<std::u16string> drives{u"C:\\"};
    std::map<std::u16string, std::u16string> productVersions;
    std::map<std::u16string, std::vector<std::u16string>> relatedProducts;
    std::map<std::u16string, ComponentInstallState> components;
    bool sixtyFourBit = false;
    // Files seen only while the redirection is off (the 64-bit system folder).
    std::map<std::u16string, VersionNumber> unredirectedFiles;

    // What was asked.
    std::vector<RegistryView> viewsAsked;
    std::vector<std::u16string> registryAsked;
    std::vector<std::u16string> filesAsked;
    std::vector<bool> redirectionCalls;
    std::vector<std::u16string> componentsAsked;
    bool redirectionOn = true;

    void AddText(const std::u16string& valuePath, const std::u16string& text) {
        values[valuePath] = RegistryData{RegistryData::Kind::Text, text, 0};
        AddKeyOf(valuePath);
    }
    void AddNumber(const std::u16string& valuePath, std::uint32_t number) {
        values[valuePath] = RegistryData{RegistryData::Kind::Number, u"", number};
        AddKeyOf(valuePath);
    }
    void AddKeyOf(const std::u16string& valuePath) { keys.insert(valuePath.substr(0, valuePath.rfind(u'\\'))); }

    static std::u16string KeyText(const RegistryLocation& key) {
        return key.key.empty() ? RootText(key.root) : RootText(key.root) + u"\\" + key.key;
    }

    bool KeyExists(const RegistryLocation& key, RegistryView view) override {
        Asked(KeyText(key), view);
        return keys.count(KeyText(key)) != 0;
    }
    std::optional<std::vector<std::u16string>> SubkeyNames(const RegistryLocation& key, RegistryView view) override {
        Asked(KeyText(key), view);
        const auto found = subkeys.find(KeyText(key));
        if (found == subkeys.end()) return std::nullopt;
        return found->second;
    }
    std::optional<RegistryData> ReadValue(const RegistryLocation& value, RegistryView view) override {
        const std::u16string path = KeyText(value) + u"\\" + value.valueName;
        Asked(path, view);
        const auto found = values.find(path);
        if (found == values.end()) return std::nullopt;
        return found->second;
    }
    std::vector<std::u16string> FixedDriveRoots() override { return drives; }
    bool FileExists(std::u16string_view path) override {
        filesAsked.emplace_back(path);
        return FileTable().count(std::u16string(path)) != 0;
    }
    VersionNumber FileVersion(std::u16string_view path) override {
        const auto found = FileTable().find(std::u16string(path));
        return found == FileTable().end() ? VersionNumber() : found->second;
    }
    std::vector<std::u16string> Subfolders(std::u16string_view folder) override {
        const auto found = folders.find(std::u16string(folder));
        return found == folders.end() ? std::vector<std::u16string>{} : found->second;
    }
    void SetFileSystemRedirection(bool enabled) override {
        redirectionCalls.push_back(enabled);
        redirectionOn = enabled;
    }
    bool Is64BitWindows() override { return sixtyFourBit; }
    std::optional<std::u16string> ProductVersionString(std::u16string_view productCode) override {
        const auto found = productVersions.find(std::u16string(productCode));
        if (found == productVersions.end()) return std::nullopt;
        return found->second;
    }
    std::vector<std::u16string> RelatedProducts(std::u16string_view upgradeCode) override {
        const auto found = relatedProducts.find(std::u16string(upgradeCode));
        return found == relatedProducts.end() ? std::vector<std::u16string>{} : found->second;
    }
    ComponentInstallState LocateComponent(std::u16string_view componentCode) override {
        componentsAsked.emplace_back(componentCode);
        const auto found = components.find(std::u16string(componentCode));
        return found == components.end() ? ComponentInstallState::Absent : found->second;
    }

private:
    void Asked(const std::u16string& what, RegistryView view) {
        registryAsked.push_back(what);
        viewsAsked.push_back(view);
    }
    const std::map<std::u16string, VersionNumber>& FileTable() const {
        return redirectionOn ? files : unredirectedFiles;
    }
};

// Folders of a typical 32-bit machine; registry references are not used by these tests.
class TableFolders final : public ReferenceLookups {
public:
    std::optional<std::u16string> SystemFolder(SystemFolderKind kind) override {
        if (kind == SystemFolderKind::System) return u"C:\\Windows\\system32";
        if (kind == SystemFolderKind::Windows) return u"C:\\Windows";
        return u"C:\\Temp";
    }
    std::optional<std::u16string> ShellFolder(int number) override {
        if (number == 38) return u"C:\\Program Files";
        return std::nullopt;
    }
    std::optional<std::u16string> Environment(std::u16string_view name) override {
        if (name == u"ProgramW6432" && !programW6432.empty()) return programW6432;
        if (name == u"TOOLS") return u"D:\\Tools";
        return std::nullopt;
    }
    std::optional<std::u16string> RegistryString(const RegistryLocation&, RegistryView) override { return std::nullopt; }

    std::u16string programW6432;
};

}  // namespace maglorin::test_support
