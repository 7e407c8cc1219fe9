#pragma once
// The texts of the launch conditions, by their ids in setup's string table (setup_string_ids.h
// keeps the texts). Each failure text has two "%s": the product name first, then the
// condition's own value (two texts need only the product name).

#include <optional>
#include <string>
#include <string_view>

namespace maglorin::launch_message {
inline constexpr int kOsFamily = 206;
inline constexpr int kOsVersions = 207;
inline constexpr int kInternetExplorer = 208;
inline constexpr int kIis = 209;
inline constexpr int kScreen = 210;
inline constexpr int kColour = 211;
inline constexpr int kMemory = 212;
inline constexpr int kDotNet = 213;
inline constexpr int kAdministrator = 214;
inline constexpr int kAcrobatReader = 221;
inline constexpr int kJre = 224;
inline constexpr int kDirectX = 225;
inline constexpr int kInternet = 226;
inline constexpr int kOffice2003 = 227;
inline constexpr int kOffice2007 = 228;
inline constexpr int kXna = 235;
inline constexpr int kEvaluating = 236;  // shown while the conditions are evaluated
inline constexpr int kJdk = 237;
inline constexpr int kSql = 238;
inline constexpr int kActiveSync = 239;
inline constexpr int kInterop2003 = 241;
inline constexpr int kInterop2007 = 242;
inline constexpr int kToolsRuntime = 243;
inline constexpr int kOffice2010 = 244;
inline constexpr int kInterop2010 = 248;
inline constexpr int kInteropShared = 255;
}  // namespace maglorin::launch_message

namespace maglorin {

// The text of one id; nullopt for an id that is not a launch-condition text.
std::optional<std::u16string_view> LaunchConditionText(int messageId);

// The text with its first "%s" replaced by the product name and its second by the argument; a
// "%s" beyond those two, and anything in the arguments, stays as written.
std::u16string FormatLaunchConditionMessage(int messageId, std::u16string_view productName,
                                            std::u16string_view argument);

// The same for a text given as it stands (a language's own string table).
std::u16string FillLaunchConditionText(std::u16string_view pattern, std::u16string_view productName,
                                       std::u16string_view argument);

}  // namespace maglorin
