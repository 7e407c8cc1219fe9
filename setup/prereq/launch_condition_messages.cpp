#include "launch_condition_messages.h"

#include "setup_string_ids.h"

namespace maglorin {

namespace {

constexpr int kLaunchConditionIds[] = {
    launch_message::kOsFamily,      launch_message::kOsVersions,    launch_message::kInternetExplorer,
    launch_message::kIis,           launch_message::kScreen,        launch_message::kColour,
    launch_message::kMemory,        launch_message::kDotNet,        launch_message::kAdministrator,
    launch_message::kAcrobatReader, launch_message::kJre,           launch_message::kDirectX,
    launch_message::kInternet,      launch_message::kOffice2003,    launch_message::kOffice2007,
    launch_message::kXna,           launch_message::kEvaluating,    launch_message::kJdk,
    launch_message::kSql,           launch_message::kActiveSync,    launch_message::kInterop2003,
    launch_message::kInterop2007,   launch_message::kToolsRuntime,  launch_message::kOffice2010,
    launch_message::kInterop2010,   launch_message::kInteropShared,
};

bool IsLaunchConditionId(int messageId) {
    for (const int id : kLaunchConditionIds) {
        if (id == messageId) return true;
    }
    return false;
}

}  // namespace

std::optional<std::u16string_view> LaunchConditionText(int messageId) {
    if (!IsLaunchConditionId(messageId)) return std::nullopt;
    for (const SetupStringText& row : kSetupStrings) {
        if (static_cast<int>(row.id) == messageId) return std::u16string_view(row.text);
    }
    return std::nullopt;
}

std::u16string FormatLaunchConditionMessage(int messageId, std::u16string_view productName,
                                            std::u16string_view argument) {
    const std::optional<std::u16string_view> text = LaunchConditionText(messageId);
    if (!text) return std::u16string(argument);
    return FillLaunchConditionText(*text, productName, argument);
}

std::u16string FillLaunchConditionText(std::u16string_view pattern, std::u16string_view productName,
                                       std::u16string_view argument) {
    const std::u16string_view arguments[] = {productName, argument};
    std::u16string out;
    std::size_t used = 0;
    for (std::size_t at = 0; at < pattern.size(); ++at) {
        if (used < 2 && pattern[at] == u'%' && at + 1 < pattern.size() && pattern[at + 1] == u's') {
            out += arguments[used++];
            ++at;
        } else {
            out += pattern[at];
        }
    }
    return out;
}

}  // namespace maglorin
