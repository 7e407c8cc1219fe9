#include "launch_condition_messages.h"

#include <array>

namespace maglorin {

namespace {

struct MessageRow {
    int id;
    std::u16string_view text;
};

constexpr std::array kMessages{
    MessageRow{launch_message::kOsFamily, u"%s can not be installed on %s"},
    MessageRow{launch_message::kOsVersions, u"%s can not be installed on the following Windows versions: %s"},
    MessageRow{launch_message::kInternetExplorer,
               u"%s can not be installed on systems with Internet Explorer version lower than %s"},
    MessageRow{launch_message::kIis,
               u"%s can not be installed on systems with Internet Information Services version lower than %s"},
    MessageRow{launch_message::kScreen, u"%s can not be installed on systems with screen resolution lower than %s"},
    MessageRow{launch_message::kColour, u"%s can not be installed on systems with colour quality lower than %s bits."},
    MessageRow{launch_message::kMemory, u"%s can not be installed on systems with less physical memory than %s MB."},
    MessageRow{launch_message::kDotNet, u"%s can not be installed on systems with .NET Framework version lower than %s"},
    MessageRow{launch_message::kAdministrator, u"%s requires administrative privileges to install."},
    MessageRow{launch_message::kAcrobatReader,
               u"%s can not be installed on systems with Adobe Reader version lower than %s"},
    MessageRow{launch_message::kJre, u"%s can not be installed on systems with JRE version lower than %s"},
    MessageRow{launch_message::kDirectX, u"%s can not be installed on systems with DirectX version lower than %s"},
    MessageRow{launch_message::kInternet,
               u"%s requires an active Internet connection for installation. Please check your network "
               u"configuration and proxy settings."},
    MessageRow{launch_message::kOffice2003, u"%s can not be installed on systems without %s 2003 or higher."},
    MessageRow{launch_message::kOffice2007, u"%s can not be installed on systems without %s 2007 or higher."},
    MessageRow{launch_message::kXna, u"%s can not be installed on systems with XNA Framework version smaller than %s"},
    MessageRow{launch_message::kEvaluating, u"Evaluating launch conditions..."},
    MessageRow{launch_message::kJdk, u"%s can not be installed on systems with JDK version lower than %s"},
    MessageRow{launch_message::kSql, u"%s can not be installed on systems without %s"},
    MessageRow{launch_message::kActiveSync, u"%s can not be installed on systems without %s or higher"},
    MessageRow{launch_message::kInterop2003, u"%s cannot be installed on systems without %s 2003 Primary Interop Assembly."},
    MessageRow{launch_message::kInterop2007, u"%s cannot be installed on systems without %s 2007 Primary Interop Assembly."},
    MessageRow{launch_message::kToolsRuntime, u"%s cannot be installed on systems without %s."},
    MessageRow{launch_message::kOffice2010, u"%s cannot be installed on systems without %s 2010 or higher."},
    MessageRow{launch_message::kInterop2010, u"%s cannot be installed on systems without %s 2010 Primary Interop Assembly."},
    MessageRow{launch_message::kInteropShared, u"%s cannot be installed on systems without %s Primary Interop Assembly."},
};

}  // namespace

std::optional<std::u16string_view> LaunchConditionText(int messageId) {
    for (const MessageRow& row : kMessages) {
        if (row.id == messageId) return row.text;
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
