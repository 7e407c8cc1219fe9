// progress_pipe_server PIPE-ID CLOSE-AT LOG
// The calling program's side of the progress pipe, for the tests: creates "\\.\pipe\ToServer<id>",
// takes one client, answers "OK" to every message except the high part of the item-progress
// command number CLOSE-AT (0-based; -1 never), which it answers "CLOSE", and ends when the
// client sends "CLOSE" or goes away. Every message received is written to LOG, one per line.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "win32_handles.h"

namespace {

bool Reply(HANDLE pipe, const std::wstring& text) {
    DWORD written = 0;
    return ::WriteFile(pipe, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written, nullptr) != 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        std::fwprintf(stderr, L"usage: progress_pipe_server PIPE-ID CLOSE-AT LOG\n");
        return 2;
    }
    const std::wstring name = std::wstring(L"\\\\.\\pipe\\ToServer") + argv[1];
    const long closeAt = std::wcstol(argv[2], nullptr, 10);
    maglorin::FileHandle pipeHandle(::CreateNamedPipeW(name.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT,
                                     1, 65536, 65536, 0, nullptr));
    if (!pipeHandle) {
        return 3;
    }
    const HANDLE pipe = pipeHandle.Get();
    if (!::ConnectNamedPipe(pipe, nullptr) && ::GetLastError() != ERROR_PIPE_CONNECTED) {
        return 4;
    }
    std::vector<std::wstring> messages;
    long progressCommands = 0;
    int partsUntilClose = -1;  // counts down to the high part of the chosen progress command
    std::vector<wchar_t> buffer(32768);
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(pipe, buffer.data(), static_cast<DWORD>(buffer.size() * sizeof(wchar_t)), &got, nullptr)) {
            break;
        }
        const std::wstring message(buffer.data(), got / sizeof(wchar_t));
        messages.push_back(message);
        bool close = false;
        if (partsUntilClose > 0 && --partsUntilClose == 0) {
            close = true;
        } else if (message == L"167772160" && progressCommands++ == closeAt) {
            partsUntilClose = 2;
        }
        Reply(pipe, close ? L"CLOSE" : L"OK");
        if (message == L"CLOSE") {
            break;
        }
    }
    pipeHandle.Reset();
    FILE* log = _wfopen(argv[3], L"w");
    if (log == nullptr) {
        return 5;
    }
    for (const std::wstring& message : messages) {
        std::fwprintf(log, L"%ls\n", message.c_str());
    }
    std::fclose(log);
    return 0;
}
