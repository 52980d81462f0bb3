// Rows per second of kit::ListView: appending rows (redraw off, as registration does), writing a cell of every row,
// reading it back, deleting every other row and clearing, at growing row counts so that any superlinear step shows.
// Reference in the same run: the same appends sent straight to a bare list view control.
// Then the time to show 100,000 and 1,000,000 rows: a virtual list (a count, and the visible rows asked for) next to
// an ordinary one that inserts every row, both painted once at the end.
#ifdef _WIN32
#include "kit/ui/ListView.h"

#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

class Host : public kit::Window {
};

double Seconds(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void Report(const char* what, int rows, double seconds)
{
    std::printf("  %-28s %8d rows %8.3f s %12.0f rows/s\n", what, rows, seconds, seconds > 0 ? rows / seconds : 0.0);
}

void BareControl(kit::Window& host, int rows)
{
    HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 600, 400,
                                host.Handle, nullptr, nullptr, nullptr);
    LVCOLUMNW column = {};
    column.mask = LVCF_WIDTH;
    column.cx = 100;
    SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rows; ++i) {
        const std::wstring text = L"C:\\folder\\file" + std::to_wstring(i) + L".bin";
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = const_cast<wchar_t*>(text.c_str());
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    Report("bare control append", rows, Seconds(start));
    DestroyWindow(list);
}

void Toolkit(kit::Window& host, int rows)
{
    boost::shared_ptr<kit::ListView> list = kit::ListView::Create(&host, 1, true);
    MoveWindow(list->Handle, 0, 0, 600, 400, FALSE);
    list->SetBehaviour(kit::ListView::ColorDrawing);
    list->AddColumn(L"ファイル名", 160, LVCFMT_LEFT);
    list->AddColumn(L"CRC32", 80, LVCFMT_LEFT);

    auto start = std::chrono::steady_clock::now();
    {
        kit::ListView::UpdateBlock block(*list);
        list->Reserve(rows);
        for (int i = 0; i < rows; ++i)
            list->AddItem(L"C:\\folder\\file" + std::to_wstring(i) + L".bin");
    }
    Report("ListView append", rows, Seconds(start));

    start = std::chrono::steady_clock::now();
    for (int i = 0; i < rows; ++i)
        list->GetItem(i)->SetText(1, L"0123ABCD");
    Report("SetText", rows, Seconds(start));

    start = std::chrono::steady_clock::now();
    size_t total = 0;
    for (int i = 0; i < rows; ++i)
        total += list->GetItem(i)->GetText(0).size();
    Report("GetText", rows, Seconds(start));

    std::vector<int> half;
    for (int i = 0; i < rows; i += 2)
        half.push_back(i);
    start = std::chrono::steady_clock::now();
    list->DeleteItems(half);
    Report("DeleteItems (every other)", static_cast<int>(half.size()), Seconds(start));

    start = std::chrono::steady_clock::now();
    const int left = list->GetItemCount();
    list->DeleteAllItems();
    Report("DeleteAllItems", left, Seconds(start));
    if (total == 0)
        std::printf("  (no text read)\n");
}

class PathSource : public kit::ListViewSource {
public:
    void GetCellText(int row, int column, std::wstring& text) override
    {
        ++Calls;
        text = column == 0 ? L"C:\\folder\\file" + std::to_wstring(row) + L".bin" : L"0123ABCD";
    }
    int Calls = 0;
};

void ShowRows(kit::Window& host, int rows)
{
    PathSource source;
    boost::shared_ptr<kit::ListView> list = kit::ListView::CreateVirtual(&host, 3, &source);
    MoveWindow(list->Handle, 0, 0, 600, 400, FALSE);
    list->SetBehaviour(kit::ListView::ColorDrawing);
    list->AddColumn(L"ファイル名", 160, LVCFMT_LEFT);
    list->AddColumn(L"CRC32", 80, LVCFMT_LEFT);
    auto start = std::chrono::steady_clock::now();
    list->SetRowCount(rows);
    UpdateWindow(list->Handle);
    Report("virtual: count and paint", rows, Seconds(start));
    start = std::chrono::steady_clock::now();
    list->EnsureVisible(rows - 1);
    UpdateWindow(list->Handle);
    Report("virtual: scroll to the end", rows, Seconds(start));
    std::printf("  %-28s %8d cells asked\n", "virtual: source calls", source.Calls);
    list.reset();

    boost::shared_ptr<kit::ListView> ordinary = kit::ListView::Create(&host, 4, true);
    MoveWindow(ordinary->Handle, 0, 0, 600, 400, FALSE);
    ordinary->SetBehaviour(kit::ListView::ColorDrawing);
    ordinary->AddColumn(L"ファイル名", 160, LVCFMT_LEFT);
    ordinary->AddColumn(L"CRC32", 80, LVCFMT_LEFT);
    start = std::chrono::steady_clock::now();
    {
        kit::ListView::UpdateBlock block(*ordinary);
        ordinary->Reserve(rows);
        for (int i = 0; i < rows; ++i)
            ordinary->AddItem(L"C:\\folder\\file" + std::to_wstring(i) + L".bin")->SetText(1, L"0123ABCD");
    }
    UpdateWindow(ordinary->Handle);
    Report("ordinary: insert and paint", rows, Seconds(start));
}

void MessageCost(kit::Window& host, int count)
{
    boost::shared_ptr<kit::ListView> list = kit::ListView::Create(&host, 2, true);
    HWND bare = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | LVS_REPORT, 0, 0, 10, 10, host.Handle, nullptr,
                                nullptr, nullptr);
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < count; ++i)
        SendMessageW(bare, LVM_GETITEMCOUNT, 0, 0);
    Report("message to a bare control", count, Seconds(start));
    start = std::chrono::steady_clock::now();
    for (int i = 0; i < count; ++i)
        SendMessageW(list->Handle, LVM_GETITEMCOUNT, 0, 0);
    Report("message to a subclassed one", count, Seconds(start));
    start = std::chrono::steady_clock::now();
    for (int i = 0; i < count; ++i)
        GetPropW(bare, L"none");
    Report("GetPropW", count, Seconds(start));
    DestroyWindow(bare);
}

} // namespace

int main()
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    Host host;
    if (!host.Create(nullptr, L"JuxtaListViewBench", L"bench", WS_OVERLAPPEDWINDOW, 0))
        return 1;
    MessageCost(host, 10000);
    for (int rows : {10000, 100000}) {
        std::printf("%d rows:\n", rows);
        BareControl(host, rows);
        Toolkit(host, rows);
    }
    // painting needs a window on the screen
    ShowWindow(host.Handle, SW_SHOW);
    for (int rows : {100000, 1000000}) {
        std::printf("showing %d rows:\n", rows);
        ShowRows(host, rows);
    }
    return 0;
}
#else
#include <cstdio>

int main()
{
    std::puts("listview: the list view benchmark runs on Windows only");
    return 0;
}
#endif
