#include "language_choice.h"

#include <array>

namespace maglorin {

namespace {

constexpr std::size_t kSlotCount = 8;

// The system ids in slot order: slots 0-3 compare whole ids, slots 4-7 primary languages of the
// same ids in the same order.
std::array<std::uint16_t, 4> SlotOrder(const SystemLanguageIds& system, bool userLanguageFirst) {
    if (userLanguageFirst) {
        return {system.userDefault, system.userInterface, system.systemInterface, system.systemDefault};
    }
    return {system.systemInterface, system.systemDefault, system.userInterface, system.userDefault};
}

}  // namespace

std::uint16_t DefaultLanguageChoice(const std::vector<std::uint16_t>& candidates, const SystemLanguageIds& system,
                                    bool userLanguageFirst) {
    if (candidates.empty()) return 0;
    const std::array<std::uint16_t, 4> order = SlotOrder(system, userLanguageFirst);
    std::array<std::optional<std::size_t>, kSlotCount> slots;
    for (std::size_t position = 0; position < candidates.size(); ++position) {
        const std::uint16_t candidate = candidates[position];
        for (std::size_t i = 0; i < order.size(); ++i) {
            if (order[i] == 0) continue;
            if (candidate == order[i]) slots[i] = position;
            if (PrimaryLanguage(candidate) == PrimaryLanguage(order[i])) slots[i + order.size()] = position;
        }
    }
    for (const auto& slot : slots) {
        if (slot) return candidates[*slot];
    }
    return candidates.front();
}

std::optional<std::uint16_t> LeadingLanguageId(std::u16string_view text) {
    std::uint32_t value = 0;
    std::size_t digits = 0;
    while (digits < text.size() && text[digits] >= u'0' && text[digits] <= u'9') {
        value = value * 10 + static_cast<std::uint32_t>(text[digits] - u'0');
        if (value > 0xFFFF) return std::nullopt;
        ++digits;
    }
    if (digits == 0) return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

}  // namespace maglorin
