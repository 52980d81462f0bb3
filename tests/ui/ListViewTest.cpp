// kit::ListView: rows and columns mirrored in objects, item data, custom-draw colours (also inside a dialog),
// keys, and the lock rule between the GUI thread and workers.
#include "kit/ui/ListView.h"

#include "kit/ui/Dialog.h"
#include "tests/harness/Harness.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

struct Record {
    int Number;
    std::wstring Name;
};

class ListViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        List = kit::ListView::Create(&Host, 1001, true);
        ASSERT_TRUE(List);
        MoveWindow(List->Handle, 0, 0, 440, 300, TRUE);
        List->AddColumn(L"Name", 120, LVCFMT_LEFT);
        List->AddColumn(L"Value", 120, LVCFMT_LEFT);
    }

    void AddRows(int count)
    {
        for (int i = 0; i < count; ++i) {
            kit::ListViewItem* item = List->AddItem(L"r" + std::to_wstring(i));
            ASSERT_NE(nullptr, item);
            item->SetText(1, L"v" + std::to_wstring(i));
            item->SetData(Record{i, L"r" + std::to_wstring(i)});
        }
    }

    // every object's index, text, data and control lParam agree with the control row at that position
    void ExpectConsistent(const std::vector<int>& originals)
    {
        ASSERT_EQ(static_cast<int>(originals.size()), List->GetItemCount());
        ASSERT_EQ(List->GetItemCount(), harness::ListRowCount(List->Handle));
        for (int row = 0; row < List->GetItemCount(); ++row) {
            kit::ListViewItem* item = List->GetItem(row);
            const std::wstring name = L"r" + std::to_wstring(originals[static_cast<size_t>(row)]);
            EXPECT_EQ(row, item->GetIndex());
            EXPECT_EQ(name, harness::ListCellText(List->Handle, row, 0));
            EXPECT_EQ(name, item->GetText(0));
            EXPECT_EQ(reinterpret_cast<LPARAM>(item), harness::ListItemData(List->Handle, row));
            Record record = {};
            ASSERT_TRUE(item->GetDataAs(record));
            EXPECT_EQ(originals[static_cast<size_t>(row)], record.Number);
        }
    }

    harness::HostWindow Host;
    boost::shared_ptr<kit::ListView> List;
};

TEST_F(ListViewTest, DeleteItem_laterRowsMoveUpByOne)
{
    AddRows(10);
    List->DeleteItem(3);
    ExpectConsistent({0, 1, 2, 4, 5, 6, 7, 8, 9});
    List->DeleteItem(8);
    List->DeleteItem(0);
    ExpectConsistent({1, 2, 4, 5, 6, 7, 8});
    // out of range: nothing happens
    List->DeleteItem(7);
    List->DeleteItem(-1);
    ExpectConsistent({1, 2, 4, 5, 6, 7, 8});
}

TEST_F(ListViewTest, DeleteItems_anyOrderAndDuplicatesRenumberOnce)
{
    AddRows(10);
    List->DeleteItems({7, 1, 1, 4, 99, -1, 9});
    ExpectConsistent({0, 2, 3, 5, 6, 8});
    List->DeleteItems({});
    ExpectConsistent({0, 2, 3, 5, 6, 8});
    List->DeleteAllItems();
    ExpectConsistent({});
    AddRows(2);
    ExpectConsistent({0, 1});
}

TEST_F(ListViewTest, InsertItem_laterRowsMoveDown)
{
    AddRows(4);
    kit::ListViewItem* inserted = List->InsertItem(1, L"new");
    ASSERT_NE(nullptr, inserted);
    EXPECT_EQ(1, inserted->GetIndex());
    EXPECT_EQ(L"new", harness::ListCellText(List->Handle, 1, 0));
    EXPECT_EQ(4, List->GetItem(4)->GetIndex());
    EXPECT_EQ(L"r3", harness::ListCellText(List->Handle, 4, 0));
    EXPECT_EQ(nullptr, List->InsertItem(6, L"beyond the end"));
}

TEST_F(ListViewTest, Columns_insertAndDeleteKeepIndexes)
{
    List->InsertColumn(1, L"Middle", 60, LVCFMT_RIGHT);
    List->AddColumn(L"Last", 50, LVCFMT_LEFT);
    ASSERT_EQ(4, List->GetColumnCount());
    ASSERT_EQ(4, harness::ListColumnCount(List->Handle));
    const wchar_t* headers[] = {L"Name", L"Middle", L"Value", L"Last"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(i, List->GetColumn(i)->GetIndex());
        EXPECT_EQ(headers[i], harness::ListHeaderText(List->Handle, i));
    }
    EXPECT_EQ(60, List->GetColumn(1)->GetWidth());
    List->DeleteColumn(0);
    EXPECT_EQ(3, harness::ListColumnCount(List->Handle));
    EXPECT_EQ(0, List->GetColumn(0)->GetIndex());
    EXPECT_EQ(2, List->GetColumn(2)->GetIndex());
    EXPECT_EQ(L"Middle", harness::ListHeaderText(List->Handle, 0));
    List->DeleteAllColumns();
    EXPECT_EQ(0, List->GetColumnCount());
    EXPECT_EQ(0, harness::ListColumnCount(List->Handle));
    EXPECT_EQ(nullptr, List->GetColumn(0));
}

TEST_F(ListViewTest, GetText_longTextsAtTheBufferSteps)
{
    const size_t lengths[] = {0, 1, 254, 255, 256, 257, 510, 511, 512, 513, 2000};
    for (size_t length : lengths) {
        std::wstring text(length, L'x');
        if (length)
            text.back() = L'$';
        kit::ListViewItem* item = List->AddItem(L"");
        item->SetText(1, text);
        EXPECT_EQ(text, item->GetText(1)) << length;
    }
    EXPECT_EQ(L"", List->GetItem(0)->GetText(0));
}

TEST_F(ListViewTest, Data_isCopiedOutAndWrittenBackWhole)
{
    AddRows(1);
    kit::ListViewItem* item = List->GetItem(0);
    Record record = {};
    ASSERT_TRUE(item->GetDataAs(record));
    record.Number = 42;
    EXPECT_TRUE(item->GetDataAs(record));
    EXPECT_EQ(0, record.Number); // the copy did not change the row
    item->SetData(Record{42, L"changed"});
    ASSERT_TRUE(item->GetDataAs(record));
    EXPECT_EQ(42, record.Number);
    EXPECT_EQ(L"changed", record.Name);
    int wrongType = 0;
    EXPECT_FALSE(item->GetDataAs(wrongType));
    EXPECT_TRUE(List->AddItem(L"no data")->GetData().empty());
}

TEST_F(ListViewTest, Selection_hitTestAndCheckedRows)
{
    List->SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    AddRows(6);
    EXPECT_EQ(nullptr, List->GetFirstSelected());
    List->GetItem(4)->SetSelected(true);
    List->GetItem(1)->SetSelected(true);
    EXPECT_EQ((std::vector<int>{1, 4}), List->GetSelectedIndexes());
    EXPECT_EQ(List->GetItem(1), List->GetFirstSelected());
    EXPECT_TRUE(List->GetItem(4)->IsSelected());
    EXPECT_FALSE(List->GetItem(3)->IsSelected());

    EXPECT_EQ(0, List->CountChecked());
    ListView_SetCheckState(List->Handle, 2, TRUE);
    ListView_SetCheckState(List->Handle, 5, TRUE);
    EXPECT_EQ(2, List->CountChecked());

    RECT cell = {};
    ListView_GetSubItemRect(List->Handle, 3, 1, LVIR_LABEL, &cell);
    int column = -1;
    EXPECT_EQ(List->GetItem(3), List->HitTest(cell.left + 5, (cell.top + cell.bottom) / 2, &column));
    EXPECT_EQ(1, column);
    EXPECT_EQ(nullptr, List->HitTest(5, 290, &column));
}

TEST_F(ListViewTest, ColumnsWiderThanClient_followsTheWidths)
{
    EXPECT_FALSE(List->ColumnsWiderThanClient());
    List->GetColumn(1)->SetWidth(1000);
    EXPECT_TRUE(List->ColumnsWiderThanClient());
    const RECT header = List->GetHeaderRect();
    EXPECT_GT(header.right, 0);
    EXPECT_GT(header.bottom, 0);
}

// the colours the harness reads come from the list's own answer to NM_CUSTOMDRAW, reflected by its parent
TEST_F(ListViewTest, CustomDraw_rowColoursAnswered)
{
    AddRows(3);
    List->GetItem(1)->SetColors(RGB(1, 2, 3), RGB(0, 255, 0));
    harness::CellColors plain = harness::ListCellColors(List->Handle, 1, 0);
    EXPECT_EQ(CLR_DEFAULT, plain.Back) << "colour drawing is off";

    List->SetBehaviour(kit::ListView::ColorDrawing);
    harness::CellColors colors = harness::ListCellColors(List->Handle, 1, 1);
    EXPECT_EQ(static_cast<LRESULT>(CDRF_NEWFONT), colors.Answer);
    EXPECT_EQ(RGB(1, 2, 3), colors.Text);
    EXPECT_EQ(RGB(0, 255, 0), colors.Back);
    colors = harness::ListCellColors(List->Handle, 0, 0);
    EXPECT_EQ(RGB(0, 0, 0), colors.Text);
    EXPECT_EQ(RGB(255, 255, 255), colors.Back);
    // a row index beyond the rows is left to the control
    colors = harness::ListCellColors(List->Handle, 3, 0);
    EXPECT_EQ(static_cast<LRESULT>(CDRF_DODEFAULT), colors.Answer);
}

// a real paint: the pixels of a coloured row show its background colour
TEST_F(ListViewTest, CustomDraw_paintsTheRowBackground)
{
    List->SetExtendedStyle(LVS_EX_FULLROWSELECT);
    List->SetBehaviour(kit::ListView::ColorDrawing);
    AddRows(3);
    List->GetItem(1)->SetBackColor(RGB(255, 0, 255));
    RedrawWindow(List->Handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    harness::PumpPending();
    RECT row1 = {}, row2 = {};
    ListView_GetSubItemRect(List->Handle, 1, 1, LVIR_LABEL, &row1);
    ListView_GetSubItemRect(List->Handle, 2, 1, LVIR_LABEL, &row2);
    HDC dc = GetDC(List->Handle);
    // the right end of the cell, away from the text
    const COLORREF coloured = GetPixel(dc, row1.right - 4, (row1.top + row1.bottom) / 2);
    const COLORREF plain = GetPixel(dc, row2.right - 4, (row2.top + row2.bottom) / 2);
    ReleaseDC(List->Handle, dc);
    EXPECT_EQ(RGB(255, 0, 255), coloured);
    EXPECT_EQ(RGB(255, 255, 255), plain);
}

TEST_F(ListViewTest, Keys_deleteAndCtrlASelectAllOnlyWithTheirFlags)
{
    AddRows(6);
    List->GetItem(2)->SetSelected(true);
    List->GetItem(4)->SetSelected(true);
    harness::PressKey(List->Handle, VK_DELETE);
    EXPECT_EQ(6, List->GetItemCount());
    harness::PressKey(List->Handle, 'A', harness::Ctrl);
    EXPECT_EQ(2u, List->GetSelectedIndexes().size());

    List->SetBehaviour(kit::ListView::DeleteKey | kit::ListView::SelectAllKey);
    harness::PressKey(List->Handle, VK_DELETE);
    ExpectConsistent({0, 1, 3, 5});
    harness::PressKey(List->Handle, 'A');
    EXPECT_EQ(0u, List->GetSelectedIndexes().size());
    harness::PressKey(List->Handle, 'A', harness::Ctrl);
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3}), List->GetSelectedIndexes());
}

TEST_F(ListViewTest, BulkInsert_manyRowsStayIndexed)
{
    const int count = 20000;
    {
        kit::ListView::UpdateBlock block(*List);
        List->Reserve(count);
        for (int i = 0; i < count; ++i)
            List->AddItem(std::to_wstring(i));
    }
    ASSERT_EQ(count, List->GetItemCount());
    ASSERT_EQ(count, harness::ListRowCount(List->Handle));
    for (int row : {0, 1, 9999, count - 1}) {
        EXPECT_EQ(row, List->GetItem(row)->GetIndex());
        EXPECT_EQ(std::to_wstring(row), harness::ListCellText(List->Handle, row, 0));
    }
    List->DeleteItem(0);
    EXPECT_EQ(count - 2, List->GetItem(count - 2)->GetIndex());
    EXPECT_EQ(std::to_wstring(count - 1), harness::ListCellText(List->Handle, count - 2, 0));
}

// a worker that holds the lock sends messages to the list; the GUI thread waiting for the lock serves them
TEST_F(ListViewTest, Lock_guiThreadPumpsWhileAWorkerHoldsIt)
{
    std::atomic<bool> held(false);
    std::thread worker([&] {
        kit::ListView::Hold hold(*List);
        held = true;
        for (int i = 0; i < 50; ++i)
            List->AddItem(L"worker");
    });
    ASSERT_TRUE(harness::PumpUntil([&] { return held.load(); }));
    kit::ListViewItem* mine = List->AddItem(L"gui");
    worker.join();
    ASSERT_NE(nullptr, mine);
    EXPECT_EQ(51, List->GetItemCount());
    EXPECT_EQ(50, mine->GetIndex()) << "the GUI thread got the lock only after the worker let go";
    EXPECT_EQ(L"gui", harness::ListCellText(List->Handle, 50, 0));
}

// while it waits for the lock the GUI thread serves only what other threads send: a posted message (a command, a
// paint, input) would re-enter the lists in the middle of the caller's work, so it stays queued
TEST_F(ListViewTest, Lock_guiThreadLeavesPostedMessagesQueuedWhileWaiting)
{
    const UINT posted = WM_APP + 7;
    std::atomic<bool> held(false), go(false);
    std::thread worker([&] {
        kit::ListView::Hold hold(*List);
        held = true;
        while (!go)
            Sleep(1);
        PostMessageW(Host.Handle, posted, 0, 0);
        Sleep(20);
        for (int i = 0; i < 20; ++i)
            List->AddItem(L"worker");
    });
    ASSERT_TRUE(harness::PumpUntil([&] { return held.load(); }));
    go = true;
    kit::ListViewItem* mine = List->AddItem(L"gui");
    worker.join();
    ASSERT_NE(nullptr, mine);
    EXPECT_EQ(20, mine->GetIndex());
    MSG message;
    EXPECT_TRUE(PeekMessageW(&message, Host.Handle, posted, posted, PM_REMOVE))
        << "the posted message was handled while the GUI thread waited for the lock";
}

// a worker waits for the lock the GUI thread holds, then finishes while the GUI thread pumps
TEST_F(ListViewTest, Lock_workerWaitsForTheGuiThread)
{
    std::atomic<bool> done(false);
    std::thread worker;
    {
        kit::ListView::Hold hold(*List);
        worker = std::thread([&] {
            List->AddItem(L"worker");
            done = true;
        });
        harness::PumpUntil([] { return false; }, 100);
        EXPECT_FALSE(done.load());
        EXPECT_EQ(0, List->GetItemCount());
    }
    EXPECT_TRUE(harness::PumpUntil([&] { return done.load(); }));
    worker.join();
    EXPECT_EQ(1, List->GetItemCount());
}

// a list view made from a dialog template (as the copy dialog's list is)
class ListDialog : public kit::Dialog {
public:
    static const int ListId = 1060;

    bool Open(HWND owner)
    {
        // DLGTEMPLATE, menu, class, title, then one DLGITEMTEMPLATE (DWORD aligned), class, title, extra count
        std::vector<WORD> data(128, 0);
        DLGTEMPLATE* dialog = reinterpret_cast<DLGTEMPLATE*>(data.data());
        dialog->style = WS_POPUP | WS_VISIBLE | WS_CAPTION;
        dialog->cdit = 1;
        dialog->cx = 200;
        dialog->cy = 120;
        size_t at = sizeof(DLGTEMPLATE) / sizeof(WORD) + 3; // no menu, default class, empty title
        at = (at + 1) & ~static_cast<size_t>(1);
        DLGITEMTEMPLATE* item = reinterpret_cast<DLGITEMTEMPLATE*>(&data[at]);
        item->style = WS_CHILD | WS_VISIBLE | LVS_REPORT;
        item->x = 5;
        item->y = 5;
        item->cx = 190;
        item->cy = 110;
        item->id = ListId;
        at += sizeof(DLGITEMTEMPLATE) / sizeof(WORD);
        const wchar_t className[] = WC_LISTVIEWW;
        for (const wchar_t* c = className; *c; ++c)
            data[at++] = static_cast<WORD>(*c);
        data[at++] = 0; // class end
        data[at++] = 0; // empty title
        data[at++] = 0; // no creation data
        return CreateDialogIndirectParamW(kit::GetModuleInstance(), dialog, owner, kit::Window::DialogProcedure,
                                          reinterpret_cast<LPARAM>(this)) != nullptr;
    }
    ~ListDialog() override
    {
        if (Handle)
            DestroyWindow(Handle);
    }
};

TEST(ListViewDialogTest, CustomDraw_answersThroughTheDialogResult)
{
    harness::HostWindow host;
    ListDialog dialog;
    ASSERT_TRUE(dialog.Open(host.Handle));
    boost::shared_ptr<kit::ListView> list = kit::ListView::Attach(&dialog, ListDialog::ListId, false);
    ASSERT_TRUE(list);
    EXPECT_TRUE(list->Attached);
    list->AddColumn(L"Name", 100, LVCFMT_LEFT);
    list->SetBehaviour(kit::ListView::ColorDrawing);
    list->AddItem(L"a")->SetColors(RGB(9, 9, 9), RGB(255, 255, 0));
    const harness::CellColors colors = harness::ListCellColors(list->Handle, 0, 0);
    EXPECT_EQ(static_cast<LRESULT>(CDRF_NEWFONT), colors.Answer);
    EXPECT_EQ(RGB(255, 255, 0), colors.Back);
    EXPECT_EQ(RGB(9, 9, 9), colors.Text);
    EXPECT_EQ(static_cast<LONG_PTR>(CDRF_NEWFONT), GetWindowLongPtrW(dialog.Handle, DWLP_MSGRESULT));

    // and the control, painting for real, takes the answer: the row's background shows
    RedrawWindow(list->Handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    harness::PumpPending();
    RECT cell = {};
    ListView_GetSubItemRect(list->Handle, 0, 0, LVIR_LABEL, &cell);
    HDC dc = GetDC(list->Handle);
    const COLORREF pixel = GetPixel(dc, cell.right - 4, (cell.top + cell.bottom) / 2);
    ReleaseDC(list->Handle, dc);
    EXPECT_EQ(RGB(255, 255, 0), pixel);
}


// A dialog's list item becomes an owner-data control in place, and answers that need a value (the keyboard search)
// reach the control through the dialog's result.
TEST(ListViewDialogTest, AttachVirtual_ownerDataInPlaceOfTheItem)
{
    struct Names : kit::ListViewSource {
        void GetCellText(int row, int, std::wstring& text) override { text = L"n" + std::to_wstring(row); }
    } names;
    harness::HostWindow host;
    ListDialog dialog;
    ASSERT_TRUE(dialog.Open(host.Handle));
    boost::shared_ptr<kit::ListView> list = kit::ListView::AttachVirtual(&dialog, ListDialog::ListId, &names);
    ASSERT_TRUE(list);
    EXPECT_EQ(list->Handle, GetDlgItem(dialog.Handle, ListDialog::ListId));
    EXPECT_TRUE(GetWindowLongPtrW(list->Handle, GWL_STYLE) & LVS_OWNERDATA);
    list->AddColumn(L"Name", 100, LVCFMT_LEFT);
    ASSERT_TRUE(list->SetRowCount(30));
    EXPECT_EQ(L"n29", harness::ListCellText(list->Handle, 29, 0));
    LVFINDINFOW find = {};
    find.flags = LVFI_STRING;
    find.psz = L"n17";
    EXPECT_EQ(17, SendMessageW(list->Handle, LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
}

} // namespace
