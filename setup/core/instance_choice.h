#pragma once
// The product instance an installation goes to: the installer options may decide it ("/i",
// "/n", "MSINEWINSTANCE=1"); otherwise the instances of setup.ini are compared with what is
// installed and, when some are installed, the user chooses in the "Multiple Instances" dialog.
// Everything but the dialog is portable.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "installed_products.h"
#include "instance_record.h"

namespace maglorin {

enum class InstanceMode : std::int32_t {
    NewInstance = 0,  // install the first instance not yet installed
    Maintain = 1,     // maintain the selected instance
    Upgrade = 2,      // reinstall the selected, older instance over itself
};

struct InstanceSelection {
    std::vector<InstanceRecord> instances;  // base instance first; empty when the package has none
    bool optionsDecide = false;             // the installer options name the instance themselves
    InstanceMode mode = InstanceMode::NewInstance;
    std::optional<std::size_t> selected;    // index into instances (Maintain / Upgrade)
    bool someInstalled = false;
    bool olderUpgradable = false;           // base not installed, some instance older-installed
    // "/i" was taken out of the options; a "//" placeholder left in them still needs the switch.
    bool installSwitchRemoved = false;
};

// True when `word` stands in `text` as a whole word: preceded by the start or a blank and
// followed by the end or a blank. "INSTALLDIR=D:/images" holds no "/i", "/norestart" no "/n".
bool ContainsWord(std::u16string_view text, std::u16string_view word);

// Removes every whole-word occurrence of `word` (the word only; the blanks around it stay).
// Answers whether there was one.
bool RemoveWord(std::u16string& text, std::u16string_view word);

// Step one of the choice: "/i" (whole word) asks to maintain and is removed from the options;
// "/i", "/n" (whole words) or "MSINEWINSTANCE=1" mean the options decide the instance.
void ScanInstanceOptions(std::u16string& options, InstanceSelection& selection);

// Asks the installer service about each instance: installed ones get their name, location and
// (after the base) installed version; flags as described on InstanceSelection.
void FillInstalledInstances(InstalledProducts& products, InstanceSelection& selection);

// The dialog's starting state: the first choice ("Install new instance.") is offered unless every
// instance is installed, and its caption becomes "Upgrade all installed instances." when older
// instances can be upgraded.
struct InstanceDialogModel {
    std::u16string newInstanceCaption;
    bool newInstanceAvailable = true;
    bool newInstancePreselected = true;
    std::vector<std::size_t> rows;  // indices of the installed instances, in list order
};
InstanceDialogModel MakeInstanceDialogModel(const InstanceSelection& selection);

// What the user took in the dialog: a new instance, or maintaining one installed instance.
struct InstanceDialogChoice {
    InstanceMode mode = InstanceMode::NewInstance;
    std::optional<std::size_t> selected;  // index into the selection's instances (Maintain)
};
// Records the choice in the selection. A Maintain choice without a valid installed instance is
// refused (false) and leaves the selection as it was.
[[nodiscard]] bool ApplyInstanceChoice(const InstanceDialogChoice& choice, InstanceSelection& selection);

// The text inserted at the start of the installer options for the chosen instance, and the
// mode it leads to (Maintain of an older instance becomes Upgrade). Empty when the options
// decide or the package has no instances.
struct InstanceFragment {
    std::u16string text;
    InstanceMode mode = InstanceMode::NewInstance;
};
InstanceFragment BuildInstanceFragment(const InstanceSelection& selection);

}  // namespace maglorin
