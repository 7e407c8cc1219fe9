#pragma once
// Drives maglorin.exe from outside as a person would: starts it in a folder of its own with the
// sample kit, finds its windows and dialogs, answers file dialogs and message boxes, posts menu
// commands, holds keys and turns the wheel, and reads back the test-only state report.

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace maglorin::test_support {

// Commands of the main window's menus (as the program numbers them).
inline constexpr UINT kCmdOpenTexture = 100;
inline constexpr UINT kCmdExportBMP = 102;
inline constexpr UINT kCmdExit = 103;
inline constexpr UINT kCmdVisualStyle0 = 110;
inline constexpr UINT kCmdLight = 120;
inline constexpr UINT kCmdDoubleSide = 121;
inline constexpr UINT kCmdMaterialEditor = 132;
inline constexpr UINT kCmdCredits = 140;

// Folder of the programs and the sample kit (the test's working folder).
std::wstring BinFolder();

// The state report: "key=value" lines; keys that repeat (Menu, MenuModel) keep every value.
class StateReport {
public:
    explicit StateReport(const std::string& text);
    std::string Value(const std::string& key) const;
    double Number(const std::string& key) const;
    std::vector<double> Numbers(const std::string& key) const;
    std::vector<std::string> Values(const std::string& key) const;
    // The state of a menu entry as shown ("Style/Mapped"): "enabled|checked" and the like;
    // "" when the entry is not in the menu.
    std::string MenuState(const std::string& path) const;

private:
    std::multimap<std::string, std::string> values_;
};

class ViewerProcess {
public:
    // Copies maglorin.exe and the named sample files into a fresh folder `name` under the bin
    // folder and starts the program there (with `arguments` after the program name).
    // The per-user settings are removed first unless `keepSettings`.
    ViewerProcess(const std::wstring& name, const std::vector<std::wstring>& files,
                  const std::wstring& arguments = L"", bool keepSettings = false);
    ~ViewerProcess();
    ViewerProcess(const ViewerProcess&) = delete;
    ViewerProcess& operator=(const ViewerProcess&) = delete;

    bool Started() const { return main_ != nullptr; }
    HWND Main() const { return main_; }
    HWND Canvas() const;
    const std::wstring& Folder() const { return folder_; }
    DWORD ProcessId() const { return processId_; }

    // Waits until the program has ended; false when it is still running after `seconds`.
    bool WaitForExit(int seconds);
    bool Running() const;

    // A top-level window of this process with the given title (class "#32770" for dialogs and
    // message boxes, any class when `cls` is null); null when none appears in `seconds`.
    HWND WaitForWindow(const wchar_t* title, const wchar_t* cls = L"#32770", int seconds = 20) const;
    // The text of a message box (its static text control).
    static std::wstring MessageText(HWND box);
    // Presses a dialog or message box button (IDOK, IDYES, IDNO, IDCANCEL).
    static void Press(HWND dialog, int button);
    // Types `path` into a file dialog's name box and presses its OK button.
    static void AnswerFileDialog(HWND dialog, const std::wstring& path);
    // Selects row `index` of the material editor's material list, as a click on it does.
    static void SelectMaterial(HWND editor, int index);

    // Posts a menu command to the main window (as a click on the entry does).
    void Command(UINT command) const;
    // Sends a request to the test channel; the state report for "state".
    bool Request(const std::string& request) const;
    StateReport State() const;
    // Sends any request that answers in the reply file and reads the answer.
    StateReport Query(const std::string& request) const;
    // Waits until the report's value of `key` is `expected`.
    bool WaitForValue(const std::string& key, const std::string& expected, int seconds = 20) const;

    // Holds or releases keys through the system's input queue (the window must be in front).
    void BringToFront() const;
    static void Keys(const std::vector<WORD>& codes, bool down);
    // One wheel notch over the canvas (negative: towards the user).
    void Wheel(int notches) const;

    // Wine hands a window's drawing to the X server on its own schedule, so the screen can still
    // show an older frame: waits until the canvas on the screen shows exactly the frame the
    // headless renderer draws from the same files at the canvas size in `style` ("Mapped", ...).
    bool WaitForFrameOnScreen(const std::wstring& texture, const std::wstring& style, int seconds = 20) const;
    // Saves what the screen shows of the main window as a 24-bit BMP file.
    bool Screenshot(const std::wstring& file) const;

private:
    std::wstring folder_;
    std::wstring replyFile_;
    PROCESS_INFORMATION process_{};
    DWORD processId_ = 0;
    HWND main_ = nullptr;
};

// The bytes of a file; empty when it cannot be read.
std::vector<unsigned char> ReadFileBytes(const std::wstring& path);
// Runs a console program of the bin folder and waits for it; its exit code, or -1.
int RunProgram(const std::wstring& commandLine, int seconds);

}  // namespace maglorin::test_support
