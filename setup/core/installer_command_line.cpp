#include "installer_command_line.h"

#include <string>

namespace maglorin {

namespace {

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

// Start of the file name: after the last '\' (or '/' of an address).
std::size_t NameStart(std::u16string_view path) {
    for (std::size_t i = path.size(); i > 0; --i) {
        if (IsSeparator(path[i - 1])) {
            return i;
        }
    }
    return 0;
}

// The position of the extension's '.' in the file name; npos when the name has none.
std::size_t ExtensionDot(std::u16string_view path) {
    const std::size_t dot = path.rfind(u'.');
    if (dot == std::u16string_view::npos || dot < NameStart(path)) {
        return std::u16string_view::npos;
    }
    return dot;
}

std::u16string Decimal(std::int64_t value) {
    std::string ascii = std::to_string(value);
    return std::u16string(ascii.begin(), ascii.end());
}

std::u16string Quoted(std::u16string_view text) {
    return u"\"" + std::u16string(text) + u"\"";
}

// M: the database's transform, and with the 64-bit transform when it applies.
std::u16string PlatformTransforms(const CommandLineInputs& inputs) {
    std::u16string transforms = WithExtension(inputs.databasePath, u".mst");
    if (inputs.is64PlatformTransf && inputs.is64BitWindows) {
        transforms += u";" + WithExtension(inputs.databasePath, u".x64.mst");
    }
    return transforms;
}

// Puts the action switch and the database path into the options.
void PlaceDatabase(const CommandLineInputs& inputs, const CommandLineQuestions& questions,
                   bool installSwitchRemoved, const std::u16string& databasePath, std::u16string& options) {
    std::u16string replacement = u" " + Quoted(databasePath) + u" ";
    std::optional<std::size_t> placeholder = TakePlaceholder(options);
    if (placeholder) {
        // "/i //": the switch was taken out while the instance was chosen; it still belongs here.
        if (installSwitchRemoved && !inputs.mainIsPatch) {
            replacement = u" /i" + replacement;
        }
    } else {
        std::u16string action = u" /i //";
        if (inputs.mainIsPatch) {
            action = u" /p //";
        } else if (inputs.reinstallOlder && questions.minorUpgrade && questions.minorUpgrade(databasePath)) {
            action = u" /fvomus //";
        }
        options.insert(0, action);
        placeholder = action.size() - 2;
    }
    options.replace(*placeholder, 2, replacement);
}

}  // namespace

std::u16string WithPlatformSuffix(std::u16string_view path) {
    const std::size_t dot = ExtensionDot(path);
    std::u16string result(path);
    if (dot != std::u16string_view::npos) {
        result.insert(dot, u".x64");
    }
    return result;
}

std::u16string WithExtension(std::u16string_view path, std::u16string_view extension) {
    const std::size_t dot = ExtensionDot(path);
    std::u16string result(path.substr(0, dot == std::u16string_view::npos ? path.size() : dot));
    return result + std::u16string(extension);
}

std::u16string FolderWithSeparator(std::u16string_view path) {
    const std::size_t slash = path.rfind(u'\\');
    return slash == std::u16string_view::npos ? std::u16string() : std::u16string(path.substr(0, slash + 1));
}

std::u16string TransformFragment(const CommandLineInputs& inputs) {
    if (inputs.languageId != 0 && inputs.allPlatforms) {
        const std::u16string transforms = PlatformTransforms(inputs);
        const std::u16string databaseOnly = WithExtension(inputs.databasePath, u".mst");
        const std::u16string folder = databaseOnly.substr(0, NameStart(databaseOnly) == 0 ? 0 : NameStart(databaseOnly) - 1);
        return u" TRANSFORMS=" + Quoted(transforms + u";" + folder + u"\\" + Decimal(inputs.languageId));
    }
    if (inputs.languageId != 0) {
        return u" TRANSFORMS=" + Quoted(u":" + Decimal(inputs.languageId));
    }
    if (inputs.allPlatforms) {
        return u" TRANSFORMS=" + Quoted(PlatformTransforms(inputs));
    }
    return {};
}

std::optional<std::size_t> TakePlaceholder(std::u16string& options) {
    std::optional<std::size_t> placeholder;
    std::size_t from = 0;
    for (std::size_t at = options.find(u"//", from); at != std::u16string::npos; at = options.find(u"//", from)) {
        if (at > 0 && options[at - 1] == u'|') {
            options.erase(at - 1, 1);  // a literal "//": keep the slashes, drop the mark
            from = at + 1;
        } else {
            placeholder = at;
            from = at + 2;
        }
    }
    return placeholder;
}

std::uint16_t TransformLanguage(std::uint16_t chosen, bool notFixed, bool singleBuiltInLanguage,
                                const std::vector<std::uint16_t>& candidates,
                                const std::function<std::uint16_t(const std::vector<std::uint16_t>&)>& defaultChoice) {
    if (!notFixed || !singleBuiltInLanguage || candidates.empty() || !defaultChoice) {
        return chosen;
    }
    const std::uint16_t language = defaultChoice(candidates);
    return language == candidates.front() ? 0 : language;
}

CommandLineResult BuildInstallerCommandLine(const CommandLineInputs& inputs, const CommandLineQuestions& questions) {
    CommandLineResult result;
    const bool useX64Database = inputs.allPlatforms && inputs.is64BitWindows;
    const std::u16string databasePath = useX64Database ? WithPlatformSuffix(inputs.databasePath) : inputs.databasePath;
    const std::u16string packageFolder = FolderWithSeparator(inputs.packagePath);
    std::u16string options = inputs.options;

    const std::u16string transforms = TransformFragment(inputs);
    bool installSwitchRemoved = false;
    if (inputs.instances != nullptr) {
        installSwitchRemoved = inputs.instances->installSwitchRemoved;
        if (inputs.languageId == 0 && !inputs.allPlatforms) {
            const InstanceFragment fragment = BuildInstanceFragment(*inputs.instances);
            options.insert(0, fragment.text);
            if (fragment.mode == InstanceMode::Upgrade && questions.confirmUpgrade && !questions.confirmUpgrade()) {
                result.cancelled = true;
                return result;
            }
        }
    }

    PlaceDatabase(inputs, questions, installSwitchRemoved, databasePath, options);
    if (options.empty() || options.front() != u' ') {
        options.insert(0, u" ");
    }
    if (!inputs.mainIsPatch) {
        options += transforms + u" TX_SETUPEXEPATH=" + Quoted(inputs.packagePath) + u" SETUPEXEDIR=" + Quoted(packageFolder);
    }
    for (const PrerequisiteResultProperty& property : inputs.prerequisiteResults) {
        if (!property.name.empty()) {
            options += u" " + property.name + u"=" + Decimal(property.value);
        }
    }
    result.commandLine = std::move(options);
    return result;
}

}  // namespace maglorin
