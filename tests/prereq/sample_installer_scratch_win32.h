#pragma once
// The stand-in installer's scratch for the prerequisites tests under Wine: a folder in Temp with
// a copy of prereq_sample.exe (built beside the test program), the file the stand-in records each
// run in, and the HKCU key under which it marks itself installed. Create clears what an earlier
// run left; Remove takes it all away again.
#include <windows.h>

#include <string>
#include <vector>

namespace maglorin::test_support {

struct SampleInstallerScratch {
    std::wstring keyRoot;  // under HKCU
    std::wstring folder;   // ends with a backslash
    std::wstring sample;   // the copy of prereq_sample.exe
    std::wstring record;   // one line per run of the stand-in

    // False when the stand-in could not be copied.
    [[nodiscard]] bool Create(const std::wstring& folderName, const std::wstring& root) {
        keyRoot = root;
        RegDeleteTreeW(HKEY_CURRENT_USER, keyRoot.c_str());
        wchar_t temporary[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temporary);
        folder = std::wstring(temporary) + folderName + L"\\";
        CreateDirectoryW(folder.c_str(), nullptr);
        sample = folder + L"prereq_sample.exe";
        record = folder + L"record.txt";
        DeleteFileW(record.c_str());
        return CopyFileW((TestProgramFolder() + L"prereq_sample.exe").c_str(), sample.c_str(), FALSE) != FALSE;
    }

    void Remove() const {
        RegDeleteTreeW(HKEY_CURRENT_USER, keyRoot.c_str());
        DeleteFileW(record.c_str());
        DeleteFileW(sample.c_str());
        RemoveDirectoryW(folder.c_str());
    }

    // How often the stand-in ran (lines in its record); -1 when the record cannot be read.
    [[nodiscard]] int Runs() const {
        std::vector<char> text(4096);
        const HANDLE file =
            CreateFileW(record.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return 0;
        DWORD read = 0;
        const BOOL ok = ReadFile(file, text.data(), static_cast<DWORD>(text.size()), &read, nullptr);
        CloseHandle(file);
        if (!ok) return -1;
        int lines = 0;
        for (DWORD i = 0; i < read; ++i) lines += text[i] == '\n';
        return lines;
    }

    // The folder of the running test program, with a trailing backslash.
    static std::wstring TestProgramFolder() {
        wchar_t path[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        const std::wstring program = path;
        return program.substr(0, program.rfind(L'\\') + 1);
    }
};

}  // namespace maglorin::test_support
