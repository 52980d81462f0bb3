// What a row can be handed to outside the program: the shell, the compare tool; and the manual, the home page and
// the version dialog.
//
// Interface thread only.
#pragma once

#include <windows.h>

#include <string>

class FileListView;
class Juxta;

namespace kit {
class SettingsNode;
}

// the maker's web site, opened by the help menu and by the version dialog's picture
extern const wchar_t* const HomePageAddress;

// a double-click or Enter on a side list's row: open it, start the compare tool or compare its hashes
void RunDoubleClickAction(Juxta& main, FileListView& list, int row);
// hands the row's file to the shell; false when it does not exist or the shell refused it
bool OpenWithShell(FileListView& list, int row, HWND owner);
// starts the compare tool for a row's pair; false when either file does not exist
bool StartCompareTool(Juxta& main, int row);

// The command line of the compare tool for a pair of paths from the "Tool" entries "0", "1", "2" of settings: the
// first entry whose "Extension" list holds "*" or the left file's extension (without the dot, any case) gives its
// "Command" with "%1" and "%2" replaced by the paths (quoted when they hold a blank). False when no entry matched.
// An entry that matches with an empty command still ends the search (the result is then empty).
bool FindCompareCommand(const kit::SettingsNode& settings, const std::wstring& left, const std::wstring& right,
                        std::wstring& commandLine);
// "%1" replaced by left and "%2" by right in one pass: a tag inside an inserted path stays as it is
std::wstring SubstituteTags(const std::wstring& command, const std::wstring& left, const std::wstring& right);
// the path in double quotes when it holds a blank, else unchanged
std::wstring QuoteIfBlank(const std::wstring& path);
// Starts a command line without waiting for it; false when it could not be started.
bool StartProcess(const std::wstring& commandLine);

// the folder of the executable followed by "Manual\index.html"
std::wstring ManualPath();
void OpenManual(Juxta& main);
void OpenHomePage(Juxta& main);
void ShowVersion(Juxta& main);
