#pragma once
// The names and texts of the registration that runs setup again after a restart: the Task
// Scheduler work item's name, the Run value's name and data, and the rule that keeps an existing
// Run value.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace maglorin {

// The package path with \ / : * ? " < > | each replaced by "_", followed by ".job".
std::u16string WorkItemName(std::u16string_view packagePath);

// The work item's application: the path in double quotes (unless it begins with one).
std::u16string WorkItemApplication(std::u16string_view packagePath);

// The Run value's name: the path, or its last 79 characters when it has 80 or more.
std::u16string RunValueName(std::u16string_view packagePath);

// The Run value's data: the path, in double quotes when it holds a blank and does not begin with
// a quote, so the system never runs the part before the blank; then, with arguments, a blank
// (unless they begin with one) and the arguments.
std::u16string RunValueData(std::u16string_view packagePath, std::u16string_view arguments);

// Whether a new registration writes the Run value: when it is missing or its data is longer
// than 200 bytes. A shorter existing value stays as it is.
bool RunValueNeedsWriting(std::optional<std::size_t> existingDataBytes);

}  // namespace maglorin
