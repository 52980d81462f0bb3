#include "app/tools/ExternalTools.h"

#include "app/lists/FileListView.h"
#include "app/lists/KeyCase.h"
#include "app/tools/HashDialog.h"
#include "app/tools/ToolHost.h"
#include "app/tools/VersionDialog.h"
#include "kit/core/Path.h"
#include "kit/core/SettingsNode.h"
#include "resources/resource.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <boost/algorithm/string/split.hpp>

#include <vector>

const wchar_t* const HomePageAddress = L"https://github.com/juxta-app/juxta";

namespace {

const wchar_t* const ToolEntries[3] = {L"0", L"1", L"2"};

// the extension of a path without its dot, empty when it has none ("a.tar.gz" gives "gz")
std::wstring ExtensionOf(const std::wstring& path)
{
    const wchar_t* dot = PathFindExtensionW(path.c_str());
    return *dot == L'.' ? std::wstring(dot + 1) : std::wstring();
}

bool ListHoldsExtension(const std::wstring& list, const std::wstring& extension)
{
    std::vector<std::wstring> pieces;
    boost::algorithm::split(pieces, list, [](wchar_t c) { return c == L';'; });
    const std::wstring wanted = KeyCase::Lower(extension);
    for (const std::wstring& piece : pieces)
        if (piece == L"*" || KeyCase::Lower(piece) == wanted)
            return true;
    return false;
}

bool IsBatchName(const std::wstring& program)
{
    const std::wstring extension = KeyCase::Lower(ExtensionOf(program));
    return extension == L"bat" || extension == L"cmd";
}

// a file found where CreateProcessW looks for a program: the path as it is, else the search path
bool IsProgramFile(const std::wstring& program)
{
    wchar_t found[MAX_PATH] = {};
    const DWORD length = SearchPathW(nullptr, program.c_str(), L".exe", MAX_PATH, found, nullptr);
    if (length == 0 || length >= MAX_PATH)
        return false;
    const DWORD attributes = GetFileAttributesW(found);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

void RunDoubleClickAction(ToolHost& main, FileListView& list, int row)
{
    if (row < 0 || row >= list.GetRowCount())
        return;
    if (main.GetSettings().GetBool(L"Open", false)) {
        OpenWithShell(list, row, list.Handle);
        return;
    }
    if (main.GetSettings().GetBool(L"Compare", false)) {
        StartCompareTool(main, row);
        return;
    }
    // the values are compared only once the row's check has finished
    if (!HasFinishedCheck(list, row))
        return;
    main.SetContextRow(list.Side, row);
    ShowHashDialog(main, list.Side, row);
}

bool OpenWithShell(FileListView& list, int row, HWND owner)
{
    if (row < 0 || row >= list.GetRowCount())
        return false;
    const std::wstring path = list.GetCellText(row, 0);
    if (path.empty() || !PathFileExistsW(path.c_str()))
        return false;
    const HINSTANCE result = ShellExecuteW(owner, nullptr, path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

std::wstring QuotePath(const std::wstring& path)
{
    return L"\"" + path + L"\"";
}

std::wstring SubstituteTags(const std::wstring& command, const std::wstring& left, const std::wstring& right)
{
    std::wstring result;
    result.reserve(command.size() + left.size() + right.size());
    for (size_t at = 0; at < command.size(); ++at) {
        if (command[at] == L'%' && at + 1 < command.size() && (command[at + 1] == L'1' || command[at + 1] == L'2')) {
            result += command[at + 1] == L'1' ? left : right;
            ++at;
            continue;
        }
        result += command[at];
    }
    return result;
}

bool FindCompareCommand(const kit::SettingsNode& settings, const std::wstring& left, const std::wstring& right,
                        std::wstring& commandLine)
{
    const kit::SettingsNode* tools = settings.FindChild(L"Tool");
    if (!tools)
        return false;
    const std::wstring extension = ExtensionOf(left);
    for (const wchar_t* name : ToolEntries) {
        const kit::SettingsNode* entry = tools->FindChild(name);
        if (!entry || !ListHoldsExtension(entry->GetString(L"Extension"), extension))
            continue;
        commandLine = SubstituteTags(entry->GetString(L"Command"), QuotePath(left), QuotePath(right));
        return true;
    }
    return false;
}

std::wstring CommandProgram(const std::wstring& commandLine, std::wstring* rest)
{
    const wchar_t* const blanks = L" \t";
    const size_t start = commandLine.find_first_not_of(blanks);
    std::wstring program, after;
    if (start == std::wstring::npos) {
        // nothing to start
    } else if (commandLine[start] == L'"') {
        const size_t close = commandLine.find(L'"', start + 1);
        program = commandLine.substr(start + 1, close == std::wstring::npos ? std::wstring::npos : close - start - 1);
        after = close == std::wstring::npos ? std::wstring() : commandLine.substr(close + 1);
    } else {
        // An unquoted path with blanks: CreateProcessW tries "C:\my", then "C:\my tools\diff.cmd" and so on, and
        // takes the first that names a program (".exe" added when there is no extension) or a batch file.
        size_t end = commandLine.find_first_of(blanks, start);
        for (size_t word = end;; word = commandLine.find_first_of(blanks, word + 1)) {
            const std::wstring candidate =
                commandLine.substr(start, word == std::wstring::npos ? std::wstring::npos : word - start);
            if (IsProgramFile(candidate) || IsBatchName(candidate)) {
                end = word;
                break;
            }
            if (word == std::wstring::npos)
                break;
        }
        program = commandLine.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        after = end == std::wstring::npos ? std::wstring() : commandLine.substr(end);
    }
    if (rest)
        *rest = after;
    return program;
}

bool RunsThroughCmd(const std::wstring& commandLine)
{
    const std::wstring program = CommandProgram(commandLine);
    const std::wstring name = KeyCase::Lower(program.substr(program.find_last_of(L"\\/") + 1));
    return IsBatchName(name) || name == L"cmd" || name == L"cmd.exe";
}

bool HoldsCmdSpecial(const std::wstring& path)
{
    return path.find_first_of(L"&|<>^%!\"") != std::wstring::npos;
}

std::wstring CmdSpecialMessage(const std::wstring& path)
{
    return L"比較ツールはコマンド プロンプト (cmd.exe) を通して起動されるため、次のいずれかの文字を含むパスは"
           L"渡せません。\n\n文字:   &   |   <   >   ^   %   !   \"\n\n" + path;
}

std::wstring BatchCommandLine(const std::wstring& commandLine)
{
    std::wstring rest;
    const std::wstring program = CommandProgram(commandLine, &rest);
    if (!IsBatchName(program))
        return std::wstring();
    // /s: the outer quotes go and the rest is taken as written; /d: no AutoRun commands from the registry
    return L"cmd.exe /d /s /c \"" + QuotePath(program) + rest + L"\"";
}

bool StartProcess(const std::wstring& commandLine)
{
    if (commandLine.empty())
        return false;
    // a batch file is not a program: CreateProcessW documents starting cmd.exe with /c for it
    const std::wstring batch = BatchCommandLine(commandLine);
    std::wstring interpreter;
    if (!batch.empty()) {
        wchar_t system[MAX_PATH] = {};
        const UINT length = GetSystemDirectoryW(system, MAX_PATH);
        if (length == 0 || length >= MAX_PATH)
            return false;
        interpreter = std::wstring(system, length) + L"\\cmd.exe";
    }
    const std::wstring& line = batch.empty() ? commandLine : batch;
    // CreateProcessW may write into the command line
    std::vector<wchar_t> buffer(line.begin(), line.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(interpreter.empty() ? nullptr : interpreter.c_str(), buffer.data(), nullptr, nullptr, FALSE,
                        0, nullptr, nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool StartCompareTool(ToolHost& main, int row)
{
    std::wstring left, right;
    {
        FileListView* lists[2] = {main.GetList(0), main.GetList(1)};
        if (!lists[0] || !lists[1] || row < 0 || row >= lists[0]->GetRowCount())
            return false;
        left = lists[0]->GetCellText(row, 0);
        right = lists[1]->GetCellText(row, 0);
    }
    if (left.empty() || right.empty() || !PathFileExistsW(left.c_str()) || !PathFileExistsW(right.c_str()))
        return false;
    std::wstring commandLine;
    if (!FindCompareCommand(main.GetSettings(), left, right, commandLine))
        return true;
    // cmd.exe would run a command hidden in a file name such as "x&calc&.txt"
    if (RunsThroughCmd(commandLine))
        for (const std::wstring* path : {&left, &right})
            if (HoldsCmdSpecial(*path)) {
                kit::ShowMessageBox(L"", CmdSpecialMessage(*path), &main.GetOwnerWindow(), MB_ICONERROR);
                return true;
            }
    // a tool that cannot be started is not reported
    StartProcess(commandLine);
    return true;
}

std::wstring ManualPath()
{
    return kit::AddBackslash(kit::RemoveFileName(kit::GetModulePath())) + L"Manual\\index.html";
}

void OpenManual(ToolHost& main)
{
    // a missing manual or browser is not reported
    main.GetOwnerWindow().ShellOpen(ManualPath(), std::wstring(), std::wstring());
}

void OpenHomePage(ToolHost& main)
{
    main.GetOwnerWindow().ShellOpen(HomePageAddress, std::wstring(), std::wstring());
}

void ShowVersion(ToolHost& main)
{
    VersionDialog dialog;
    dialog.Run(main.GetOwnerWindow());
}
