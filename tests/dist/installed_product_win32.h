#pragma once
// What an installation of the product leaves on the system, read back through the system itself:
// the program folder and its files, the Start-menu shortcut, the Add/Remove Programs entry and
// the installer service's own record. Also the test's folders (the bin folder, the dist folder,
// the test data the fixture made) and a few file helpers.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace maglorin::test_support {

// The files the product installs, by name.
const std::vector<std::wstring>& ProductFiles();

// Folders, each ending in "\\".
std::wstring BinFolder();       // the test's working folder: the tree's bin
std::wstring DistFolder();      // the tree's dist folder
std::wstring TestDataFolder();  // bin\testdata\dist, made by the fixture
std::wstring InstallFolder();   // [ProgramFilesFolder]Maglorin
std::wstring AppDataFolder();   // the roaming application-data folder

// The Start-menu shortcut's file, in the all-users or the user's programs menu; none when absent.
std::optional<std::wstring> FindShortcut();
// The folder the shortcut lives in, in either menu, when it exists.
std::optional<std::wstring> FindShortcutFolder();
// The program a shortcut starts; none when it cannot be read.
std::optional<std::wstring> ShortcutTarget(const std::wstring& shortcut);

// A string value of the product's Add/Remove Programs entry; none when the entry or value is absent.
std::optional<std::wstring> UninstallEntryValue(const std::wstring& name);
// The install folder the database remembers for later uninstalls and repairs; none when absent.
std::optional<std::wstring> RememberedInstallFolder();
// The installer service's state of the product (5: installed).
int ProductState();

bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);
// The whole file; none when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::wstring& path);
// Removes a folder with everything in it (a no-op when absent).
void RemoveTree(const std::wstring& folder);
bool SameText(const std::wstring& a, const std::wstring& b);  // ignoring case, as paths compare

// Starts the installed maglorin.exe, waits for its main window, closes it: the program's exit
// code, or none when it did not start, show its window or end.
std::optional<DWORD> StartAndCloseViewer(const std::wstring& program);

// Removes the product when an earlier, interrupted run left it installed.
void EnsureProductAbsent();

}  // namespace maglorin::test_support
