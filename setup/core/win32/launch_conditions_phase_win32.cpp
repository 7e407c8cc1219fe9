#include "launch_conditions_phase_win32.h"

#include <string>

#include "launch_conditions_win32.h"
#include "msi_library_win32.h"

namespace maglorin {

namespace {

// The checks write their notes (an unknown search type, the condition not met) to setup's log.
class PhaseLog final : public SearchLog {
public:
    explicit PhaseLog(SetupLog& log) : log_(log) {}
    void Write(std::u16string_view line) override { log_.Write(line); }

private:
    SetupLog& log_;
};

}  // namespace

LaunchConditionsResult EvaluateLaunchConditions(const LaunchConditionsRequest& request) {
    if (request.configuration == nullptr && !request.requireInternetConnection) return {};
    const ConfigurationFile none;
    MsiLibrary msi;
    if (!msi.Load() && request.log != nullptr) request.log->Write(u"launch conditions: msi.dll could not be loaded");
    SetupLog closedLog;
    PhaseLog log(request.log != nullptr ? *request.log : closedLog);

    LaunchConditionsOptions options;
    options.productName = request.productName;
    options.log = &log;
    options.msi = &msi;
    if (MessageRoutine* messages = request.messages) {
        options.quiet = !messages->UserInterfaceEnabled();
        options.textOf = [messages](int id) {
            const std::wstring text = messages->Text(static_cast<SetupStringId>(id));
            return std::u16string(text.begin(), text.end());
        };
        options.report = [messages](const std::u16string& text) {
            messages->Show(std::wstring(text.begin(), text.end()), MB_ICONWARNING, false);
        };
    }
    const LaunchConditionsRun run =
        RunLaunchConditions(request.configuration != nullptr ? *request.configuration : none,
                            request.requireInternetConnection, options);
    if (run.outcome == LaunchConditionsOutcome::Met) {
        log.Write(u"launch conditions: all met");
        return {};
    }
    return LaunchConditionsResult{false, run.exitCode};
}

}  // namespace maglorin
