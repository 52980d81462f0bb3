#include "app/tools/ExternalTools.h"

#include "app/lists/FileListView.h"
#include "app/lists/KeyCase.h"
#include "app/shell/Juxta.h"
#include "app/tools/HashDialog.h"
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

} // namespace

void RunDoubleClickAction(Juxta& main, FileListView& list, int row)
{
    if (row < 0 || row >= list.GetRowCount())
        return;
    if (main.Settings.GetBool(L"Open", false)) {
        OpenWithShell(list, row, list.Handle);
        return;
    }
    if (main.Settings.GetBool(L"Compare", false)) {
        StartCompareTool(main, row);
        return;
    }
    // the values are compared only once the row's check has finished
    FileListView::ItemInfo info;
    if (list.IsBlankRow(row) || !list.GetItemInfo(row, info) || !info.Finished)
        return;
    main.ContextRow = row;
    main.CurrentSide = list.Side;
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

std::wstring QuoteIfBlank(const std::wstring& path)
{
    return path.find(L' ') == std::wstring::npos ? path : L"\"" + path + L"\"";
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
        commandLine = SubstituteTags(entry->GetString(L"Command"), QuoteIfBlank(left), QuoteIfBlank(right));
        return true;
    }
    return false;
}

bool StartProcess(const std::wstring& commandLine)
{
    if (commandLine.empty())
        return false;
    // CreateProcessW may write into the command line
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool StartCompareTool(Juxta& main, int row)
{
    Juxta::RowLocks locks(main);
    FileListView* lists[2] = {main.GetList(0), main.GetList(1)};
    if (!lists[0] || !lists[1] || row < 0 || row >= lists[0]->GetRowCount() || row >= lists[1]->GetRowCount())
        return false;
    const std::wstring left = lists[0]->GetCellText(row, 0);
    const std::wstring right = lists[1]->GetCellText(row, 0);
    if (left.empty() || right.empty() || !PathFileExistsW(left.c_str()) || !PathFileExistsW(right.c_str()))
        return false;
    std::wstring commandLine;
    // a tool that cannot be started is not reported
    if (FindCompareCommand(main.Settings, left, right, commandLine))
        StartProcess(commandLine);
    return true;
}

std::wstring ManualPath()
{
    return kit::AddBackslash(kit::RemoveFileName(kit::GetModulePath())) + L"Manual\\index.html";
}

void OpenManual(Juxta& main)
{
    // a missing manual or browser is not reported
    main.ShellOpen(ManualPath(), std::wstring(), std::wstring());
}

void OpenHomePage(Juxta& main)
{
    main.ShellOpen(HomePageAddress, std::wstring(), std::wstring());
}

void ShowVersion(Juxta& main)
{
    VersionDialog dialog;
    dialog.Run(main);
}
