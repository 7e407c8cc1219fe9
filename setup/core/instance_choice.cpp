#include "instance_choice.h"

namespace maglorin {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

// Position of the next whole-word occurrence at or after `from`; npos when none.
std::size_t FindWord(std::u16string_view text, std::u16string_view word, std::size_t from) {
    if (word.empty()) {
        return std::u16string_view::npos;
    }
    for (std::size_t at = text.find(word, from); at != std::u16string_view::npos; at = text.find(word, at + 1)) {
        const bool startsWord = at == 0 || IsBlank(text[at - 1]);
        const std::size_t end = at + word.size();
        const bool endsWord = end == text.size() || IsBlank(text[end]);
        if (startsWord && endsWord) {
            return at;
        }
    }
    return std::u16string_view::npos;
}

const std::u16string_view kInstallSwitch = u"/i";
const std::u16string_view kInstanceSwitch = u"/n";
const std::u16string_view kNewInstanceProperty = u"MSINEWINSTANCE=1";
const std::u16string_view kReinstallAll = u" REINSTALL=ALL REINSTALLMODE=vomus ";

}  // namespace

bool ContainsWord(std::u16string_view text, std::u16string_view word) {
    return FindWord(text, word, 0) != std::u16string_view::npos;
}

bool RemoveWord(std::u16string& text, std::u16string_view word) {
    bool removed = false;
    for (std::size_t at = FindWord(text, word, 0); at != std::u16string::npos; at = FindWord(text, word, at)) {
        text.erase(at, word.size());
        removed = true;
    }
    return removed;
}

void ScanInstanceOptions(std::u16string& options, InstanceSelection& selection) {
    const bool hasInstanceSwitch = ContainsWord(options, kInstanceSwitch);
    const bool hasNewInstance = options.find(kNewInstanceProperty) != std::u16string::npos;
    if (RemoveWord(options, kInstallSwitch)) {
        selection.mode = InstanceMode::Maintain;
        selection.installSwitchRemoved = true;
        selection.optionsDecide = true;
    }
    if (hasInstanceSwitch || hasNewInstance) {
        selection.optionsDecide = true;
    }
}

void FillInstalledInstances(InstalledProducts& products, InstanceSelection& selection) {
    auto& instances = selection.instances;
    for (std::size_t i = 0; i < instances.size(); ++i) {
        InstanceRecord& record = instances[i];
        const auto name = products.ProductInfo(record.productCode, u"ProductName");
        if (!name) {
            continue;
        }
        record.installed = true;
        record.installedProductName = *name;
        record.installedLocation = products.ProductInfo(record.productCode, u"InstallLocation").value_or(u"");
        if (i > 0) {
            const auto version = products.ProductInfo(record.productCode, u"VersionString");
            record.version = VersionNumber::Parse(version.value_or(u""));
            record.olderInstalled = record.version < instances[0].version;
        }
        selection.someInstalled = true;
    }
    if (!instances.empty() && !instances[0].installed) {
        for (const InstanceRecord& record : instances) {
            selection.olderUpgradable = selection.olderUpgradable || record.olderInstalled;
        }
    }
}

InstanceDialogModel MakeInstanceDialogModel(const InstanceSelection& selection) {
    InstanceDialogModel model;
    bool everyInstalled = !selection.instances.empty();
    for (std::size_t i = 0; i < selection.instances.size(); ++i) {
        if (selection.instances[i].installed) {
            model.rows.push_back(i);
        } else {
            everyInstalled = false;
        }
    }
    model.newInstanceCaption =
        selection.olderUpgradable ? u"Upgrade all installed instances." : u"Install new instance.";
    model.newInstanceAvailable = !everyInstalled;
    model.newInstancePreselected = !everyInstalled;
    return model;
}

bool ApplyInstanceChoice(const InstanceDialogChoice& choice, InstanceSelection& selection) {
    if (choice.mode == InstanceMode::NewInstance) {
        selection.mode = InstanceMode::NewInstance;
        selection.selected.reset();
        return true;
    }
    if (choice.mode != InstanceMode::Maintain || !choice.selected ||
        *choice.selected >= selection.instances.size() || !selection.instances[*choice.selected].installed) {
        return false;
    }
    selection.mode = InstanceMode::Maintain;
    selection.selected = choice.selected;
    return true;
}

InstanceFragment BuildInstanceFragment(const InstanceSelection& selection) {
    InstanceFragment fragment;
    const auto& instances = selection.instances;
    if (selection.optionsDecide || instances.empty()) {
        return fragment;
    }
    if (selection.mode == InstanceMode::NewInstance) {
        for (std::size_t i = 0; i < instances.size(); ++i) {
            if (!instances[i].installed) {
                if (i > 0) {
                    fragment.text = u" TRANSFORMS=:" + instances[i].transformName + u".mst MSINEWINSTANCE=1 ";
                }
                break;
            }
        }
        return fragment;
    }
    fragment.mode = InstanceMode::Maintain;
    if (!selection.selected || *selection.selected >= instances.size()) {
        return fragment;
    }
    const std::size_t index = *selection.selected;
    if (index > 0) {
        fragment.text = u" /n " + instances[index].productCode + u" ";
    }
    if (instances[index].olderInstalled) {
        fragment.mode = InstanceMode::Upgrade;
        fragment.text += kReinstallAll;
    }
    return fragment;
}

}  // namespace maglorin
