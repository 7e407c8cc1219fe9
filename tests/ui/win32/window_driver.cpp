#include "window_driver.h"

#include "win32_handles.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace maglorin::test_support {

namespace {

// Polls `ready` every 50 ms for at most `seconds`.
template <typename Ready>
bool WaitUntil(Ready ready, int seconds) {
    for (int i = 0; i < seconds * 20; ++i) {
        if (ready()) return true;
        Sleep(50);
    }
    return ready();
}

// A 24-bit picture of width x height, bottom row first.
BITMAPINFOHEADER Rgb24Header(int width, int height) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    return header;
}

// The pixels (24-bit rows) of width x height at (left, top) of a device context; empty when they
// cannot be read.
std::vector<unsigned char> CapturePixels(HDC source, int left, int top, int width, int height) {
    if (source == nullptr || width <= 0 || height <= 0) return {};
    MemoryDcHandle memory(CreateCompatibleDC(source));
    BitmapHandle bitmap(CreateCompatibleBitmap(source, width, height));
    if (!memory || !bitmap) return {};
    {
        SelectScope selected(memory.Get(), bitmap.Get());
        if (!BitBlt(memory.Get(), 0, 0, width, height, source, left, top, SRCCOPY)) return {};
    }
    BITMAPINFOHEADER header = Rgb24Header(width, height);
    std::vector<unsigned char> pixels(static_cast<std::size_t>((width * 3 + 3) & ~3) * height);
    const int lines = GetDIBits(memory.Get(), bitmap.Get(), 0, static_cast<UINT>(height), pixels.data(),
                                reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    if (lines != height) return {};
    return pixels;
}

struct FindRequest {
    DWORD processId;
    const wchar_t* title;
    const wchar_t* cls;
    HWND found;
};

BOOL CALLBACK FindTopLevel(HWND window, LPARAM lParam) {
    auto* request = reinterpret_cast<FindRequest*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != request->processId || !IsWindowVisible(window)) return TRUE;
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    wchar_t cls[64] = {};
    GetClassNameW(window, cls, 64);
    if (std::wstring(text) == request->title && (request->cls == nullptr || std::wstring(cls) == request->cls)) {
        request->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

std::wstring BinFolder() {
    wchar_t folder[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, folder);
    return std::wstring(folder) + L"\\";
}

StateReport::StateReport(const std::string& text) {
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        const std::size_t at = line.find('=');
        if (at != std::string::npos) values_.emplace(line.substr(0, at), line.substr(at + 1));
    }
}

std::string StateReport::Value(const std::string& key) const {
    const auto it = values_.find(key);
    return it == values_.end() ? std::string() : it->second;
}

std::vector<double> StateReport::Numbers(const std::string& key) const {
    std::vector<double> numbers;
    std::stringstream parts(Value(key));
    std::string part;
    while (std::getline(parts, part, ',')) numbers.push_back(std::atof(part.c_str()));
    return numbers;
}

double StateReport::Number(const std::string& key) const {
    const std::vector<double> numbers = Numbers(key);
    return numbers.empty() ? -9999.0 : numbers.front();
}

std::vector<std::string> StateReport::Values(const std::string& key) const {
    std::vector<std::string> all;
    for (auto [it, end] = values_.equal_range(key); it != end; ++it) all.push_back(it->second);
    return all;
}

std::string StateReport::MenuState(const std::string& path) const {
    for (const std::string& entry : Values("Menu")) {
        if (entry.rfind(path + "|", 0) == 0) return entry.substr(path.size() + 1);
    }
    return std::string();
}

ViewerProcess::ViewerProcess(const std::wstring& name, const std::vector<std::wstring>& files,
                             const std::wstring& arguments, bool keepSettings) {
    const std::wstring bin = BinFolder();
    folder_ = bin + name + L"\\";
    CreateDirectoryW(folder_.c_str(), nullptr);
    // Nothing of an earlier run stays behind.
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder_ + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileW((folder_ + found.cFileName).c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    // The viewer's test build, which answers the query channel, under the shipped program's name.
    CopyFileW((bin + L"maglorin-test.exe").c_str(), (folder_ + L"maglorin.exe").c_str(), FALSE);
    for (const std::wstring& file : files) CopyFileW((bin + file).c_str(), (folder_ + file).c_str(), FALSE);
    replyFile_ = folder_ + L"state.txt";
    SetEnvironmentVariableW(L"MAGLORIN_TEST_CHANNEL", replyFile_.c_str());
    // Every run starts from the default window size unless it tests the kept settings.
    if (!keepSettings) RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Maglorin");
    std::wstring commandLine = L"\"" + folder_ + L"maglorin.exe\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(),
                        &startup, &process_)) {
        return;
    }
    processId_ = process_.dwProcessId;
    WaitForInputIdle(process_.hProcess, 20000);
    main_ = WaitForWindow(L"Maglorin (Beta 0.1)", L"MaglorinMain", 30);
}

ViewerProcess::~ViewerProcess() {
    if (process_.hProcess != nullptr) {
        if (Running()) {
            TerminateProcess(process_.hProcess, 0);
            WaitForSingleObject(process_.hProcess, 10000);
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
}

HWND ViewerProcess::Canvas() const { return FindWindowExW(main_, nullptr, L"MaglorinCanvas", nullptr); }

bool ViewerProcess::Running() const {
    return process_.hProcess != nullptr && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

bool ViewerProcess::WaitForExit(int seconds) {
    return WaitForSingleObject(process_.hProcess, static_cast<DWORD>(seconds) * 1000) == WAIT_OBJECT_0;
}

HWND ViewerProcess::WaitForWindow(const wchar_t* title, const wchar_t* cls, int seconds) const {
    FindRequest request{processId_, title, cls, nullptr};
    WaitUntil(
        [&] {
            request.found = nullptr;
            EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&request));
            return request.found != nullptr;
        },
        seconds);
    return request.found;
}

std::wstring ViewerProcess::MessageText(HWND box) {
    // The box may be on screen a moment before its text is filled in.
    wchar_t buffer[2048] = {};
    WaitUntil(
        [&] {
            SendMessageW(GetDlgItem(box, 0xFFFF), WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(buffer));
            return buffer[0] != L'\0' || !IsWindow(box);
        },
        10);
    return buffer;
}

void ViewerProcess::Press(HWND dialog, int button) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
    // Every button pressed here closes its dialog; the next look for a dialog must not find it.
    WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, 20);
}

void ViewerProcess::SelectMaterial(HWND editor, int index) {
    constexpr int kMaterialListId = 1001;
    const HWND list = GetDlgItem(editor, kMaterialListId);
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(editor, WM_COMMAND, MAKEWPARAM(kMaterialListId, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

void ViewerProcess::AnswerFileDialog(HWND dialog, const std::wstring& path) {
    // The name box of the explorer-style dialog (a combo box with an edit), or of the old one.
    HWND box = GetDlgItem(dialog, 0x47C);
    if (box == nullptr) box = GetDlgItem(dialog, 0x480);
    SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    Press(dialog, IDOK);
}

void ViewerProcess::Command(UINT command) const { PostMessageW(main_, WM_COMMAND, MAKEWPARAM(command, 0), 0); }

bool ViewerProcess::Request(const std::string& request) const {
    COPYDATASTRUCT data{};
    data.dwData = 0x4D47;
    data.cbData = static_cast<DWORD>(request.size());
    data.lpData = const_cast<char*>(request.data());
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(main_, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, 60000,
                               &result) != 0 &&
           result == 1;
}

StateReport ViewerProcess::State() const { return Query("state"); }

StateReport ViewerProcess::Query(const std::string& request) const {
    if (!Request(request)) return StateReport(std::string());
    const std::vector<unsigned char> bytes = ReadFileBytes(replyFile_);
    return StateReport(std::string(bytes.begin(), bytes.end()));
}

bool ViewerProcess::WaitForValue(const std::string& key, const std::string& expected, int seconds) const {
    return WaitUntil([&] { return State().Value(key) == expected; }, seconds);
}

void ViewerProcess::BringToFront() const {
    SetForegroundWindow(main_);
    SetActiveWindow(main_);
}

void ViewerProcess::Keys(const std::vector<WORD>& codes, bool down) {
    std::vector<INPUT> inputs;
    for (WORD code : codes) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = code;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(code, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
        if (code >= VK_PRIOR && code <= VK_DOWN) input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
        inputs.push_back(input);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void ViewerProcess::Wheel(int notches) const {
    RECT area{};
    HWND canvas = Canvas();
    GetWindowRect(canvas, &area);
    const int x = (area.left + area.right) / 2;
    const int y = (area.top + area.bottom) / 2;
    DWORD_PTR result = 0;
    SendMessageTimeoutW(canvas, WM_MOUSEWHEEL,
                        MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(notches * WHEEL_DELTA))),
                        MAKELPARAM(x, y), SMTO_NORMAL, 10000, &result);
}

bool ViewerProcess::WaitForFrameOnScreen(const std::wstring& texture, const std::wstring& style, int seconds) const {
    const HWND canvas = Canvas();
    RECT inner{};
    if (canvas == nullptr || !GetClientRect(canvas, &inner)) return false;
    const std::wstring reference = folder_ + L"on-screen-reference.bmp";
    const std::wstring size = std::to_wstring(inner.right) + L"x" + std::to_wstring(inner.bottom);
    const int code = RunProgram(L"\"" + BinFolder() + L"maglorin-render.exe\" --model \"" + folder_ + L"kit.3ds\" --texture \"" +
                                    folder_ + texture + L"\" --background \"" + folder_ + L"BG.jpg\" --style " + style +
                                    L" --size " + size + L" --out \"" + reference + L"\"",
                                60);
    const std::vector<unsigned char> file = ReadFileBytes(reference);
    constexpr std::size_t kPixelsAt = 54;  // file and info headers of a 24-bit BMP
    if (code != 0 || file.size() <= kPixelsAt) return false;
    // Bottom row first, rows padded to four bytes: the layout GetDIBits gives.
    const std::vector<unsigned char> frame(file.begin() + kPixelsAt, file.end());
    POINT origin{0, 0};
    ClientToScreen(canvas, &origin);
    return WaitUntil(
        [&] {
            const ScreenDcHandle screen(GetDC(nullptr));
            return CapturePixels(screen.Get(), origin.x, origin.y, inner.right, inner.bottom) == frame;
        },
        seconds);
}

bool ViewerProcess::Screenshot(const std::wstring& file) const {
    RECT area{};
    GetWindowRect(main_, &area);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    const ScreenDcHandle screen(GetDC(nullptr));
    const std::vector<unsigned char> pixels = CapturePixels(screen.Get(), area.left, area.top, width, height);
    if (pixels.empty()) return false;
    const BITMAPINFOHEADER header = Rgb24Header(width, height);
    BITMAPFILEHEADER fileHeader{};
    fileHeader.bfType = 0x4D42;
    fileHeader.bfOffBits = sizeof(fileHeader) + sizeof(header);
    fileHeader.bfSize = fileHeader.bfOffBits + static_cast<DWORD>(pixels.size());
    std::ofstream out(std::filesystem::path(file), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&fileHeader), sizeof(fileHeader));
    out.write(reinterpret_cast<const char*>(&header), sizeof(header));
    out.write(reinterpret_cast<const char*>(pixels.data()), static_cast<std::streamsize>(pixels.size()));
    return static_cast<bool>(out);
}

std::vector<unsigned char> ReadFileBytes(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int RunProgram(const std::wstring& commandLine, int seconds) {
    std::wstring line = commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        return -1;
    }
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, static_cast<DWORD>(seconds) * 1000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &code);
    } else {
        TerminateProcess(process.hProcess, 1);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

}  // namespace maglorin::test_support
