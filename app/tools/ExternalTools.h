// What a row can be handed to outside the program: the shell, the compare tool; and the manual, the home page and
// the version dialog.
//
// Interface thread only.
#pragma once

#include <windows.h>

#include <string>

class FileListView;
class ToolHost;

namespace kit {
class SettingsNode;
}

// the maker's web site, opened by the help menu and by the version dialog's picture
extern const wchar_t* const HomePageAddress;

// a double-click or Enter on a side list's row: open it, start the compare tool or compare its hashes
void RunDoubleClickAction(ToolHost& main, FileListView& list, int row);
// hands the row's file to the shell; false when it does not exist or the shell refused it
bool OpenWithShell(FileListView& list, int row, HWND owner);
// starts the compare tool for a row's pair; false when either file does not exist
bool StartCompareTool(ToolHost& main, int row);

// The command line of the compare tool for a pair of paths from the "Tool" entries "0", "1", "2" of settings: the
// first entry whose "Extension" list holds "*" or the left file's extension (without the dot, any case) gives its
// "Command" with "%1" and "%2" replaced by the paths in double quotes. False when no entry matched.
// An entry that matches with an empty command still ends the search (the result is then empty).
bool FindCompareCommand(const kit::SettingsNode& settings, const std::wstring& left, const std::wstring& right,
                        std::wstring& commandLine);
// "%1" replaced by left and "%2" by right in one pass: a tag inside an inserted path stays as it is
std::wstring SubstituteTags(const std::wstring& command, const std::wstring& left, const std::wstring& right);
// the path in double quotes
std::wstring QuotePath(const std::wstring& path);
// The program a command line starts, as CreateProcessW finds it: the quoted first part, or else the shortest run of
// blank-separated words that names a batch file, or else the first word. rest receives what follows it.
std::wstring CommandProgram(const std::wstring& commandLine, std::wstring* rest = nullptr);
// the program is a batch file (.bat, .cmd) or cmd.exe itself: the command interpreter parses the whole line
bool RunsThroughCmd(const std::wstring& commandLine);
// a character the command interpreter acts on (& | < > ^ % ! and the double quote)
bool HoldsCmdSpecial(const std::wstring& path);
// Starts a command line without waiting for it; false when it could not be started. A batch file is started
// through cmd.exe, as CreateProcessW asks.
bool StartProcess(const std::wstring& commandLine);
// the command line StartProcess hands to cmd.exe for a batch file, empty for any other program
std::wstring BatchCommandLine(const std::wstring& commandLine);
// the message that refuses to hand a path to a tool that runs through the command interpreter
std::wstring CmdSpecialMessage(const std::wstring& path);

// the folder of the executable followed by "Manual\index.html"
std::wstring ManualPath();
void OpenManual(ToolHost& main);
void OpenHomePage(ToolHost& main);
void ShowVersion(ToolHost& main);
