// A report-style list view whose rows and columns are mirrored in objects. Worker threads change rows while the GUI
// thread reads them, so the list carries a lock: the GUI thread never blocks on it (it keeps serving sent messages,
// since the holder may be waiting in SendMessageW for it), other threads wait. Cell texts that other threads write
// go into the rows' copies at once and into the control when the GUI thread drains them (DrainWrites). A queued
// cell finds its row by the row's object, so it follows the row when rows are inserted or removed on the GUI thread
// (which drains first) and goes nowhere when its row is removed.
#pragma once

#include "kit/ui/ListViewColumn.h"
#include "kit/ui/ListViewItem.h"
#include "kit/ui/Window.h"

#include <atomic>
#include <commctrl.h>
#include <vector>

namespace kit {

class LockObject;

class ListView : public Window {
public:
    enum BehaviourFlag : uint8_t {
        ColorDrawing = 0x01, // custom draw in each row's colours
        SelectAllKey = 0x02, // Ctrl+A selects every row
        DeleteKey = 0x04,    // Delete removes the selected rows
        OpenKey = 0x08,      // Enter opens the selected rows' files
        InPlaceEdit = 0x10,  // Enter, F2 and double-click edit a cell; the list keeps an empty last row
    };

    // Holds the list's lock for a block, by the acquisition rule above. Callers that walk rows while other threads
    // may change them hold one around the whole walk.
    class Hold : private boost::noncopyable {
    public:
        explicit Hold(const ListView& list) : List(list) { List.AcquireLock(); }
        ~Hold() { List.ReleaseLock(); }

    private:
        const ListView& List; // not owned
    };

    // Switches drawing off for a block of many changes, and back on (with one repaint) at its end; nests.
    class UpdateBlock : private boost::noncopyable {
    public:
        explicit UpdateBlock(ListView& list) : List(list) { List.BeginUpdate(); }
        ~UpdateBlock() { List.EndUpdate(); }

    private:
        ListView& List; // not owned
    };

    // posted when other threads have queued cell writes (ListViewItem::SetTexts)
    static const UINT WriteCellsMessage = WM_USER;

    // locked: a critical section guards the rows; otherwise the lock costs nothing (one filling thread)
    explicit ListView(bool locked);
    ~ListView() override;

    static boost::shared_ptr<ListView> Create(Window* parent, int id, bool locked);
    static boost::shared_ptr<ListView> Attach(Window* dialog, int id, bool locked);
    // for derived lists, constructed first: a new control under parent, or a dialog item (subclassed)
    bool Create(Window* parent, int id);
    bool Attach(Window* dialog, int id);

    void SetBehaviour(uint8_t flags);
    uint8_t GetBehaviour() const { return Behaviour; }
    void SetExtendedStyle(DWORD style);
    void SetSmallImageList(HIMAGELIST images);

    ListViewColumn* AddColumn(const std::wstring& text, int width, int format);
    ListViewColumn* InsertColumn(int index, const std::wstring& text, int width, int format);
    void DeleteColumn(int index);
    void DeleteAllColumns();
    ListViewColumn* GetColumn(int index) const;
    int GetColumnCount() const { return static_cast<int>(Columns.size()); }

    ListViewItem* AddItem(const std::wstring& text);
    ListViewItem* InsertItem(int index, const std::wstring& text);
    void DeleteItem(int index);
    // several rows at once (any order, duplicates ignored): the later rows are renumbered once
    void DeleteItems(std::vector<int> indexes);
    void DeleteAllItems();
    // room for count rows in the objects and the control before a bulk insertion
    void Reserve(int count);
    ListViewItem* GetItem(int index) const;
    int GetItemCount() const { return static_cast<int>(Items.size()); }
    // the row a control item stands for (its lParam), for custom draw handlers
    static ListViewItem* ItemFromParam(LPARAM param) { return reinterpret_cast<ListViewItem*>(param); }

    // rows whose check box state image is not the unchecked one (1)
    int CountChecked() const;
    std::vector<int> GetSelectedIndexes() const;
    ListViewItem* GetFirstSelected() const;
    void SelectAll();
    // the row under the client point, and the column hit; null when no item is hit
    ListViewItem* HitTest(int x, int y, int* column) const;
    RECT GetHeaderRect() const;
    bool ColumnsWiderThanClient() const;
    // with InPlaceEdit: when the list is empty or its last row's first cell holds text, adds an empty row
    void EnsureEmptyLastRow();
    // the row being edited, or null
    ListViewItem* GetEditingItem() const { return EditingItem; }

    // A message to the control: on the GUI thread straight to the control's own procedure, past this object's
    // routing (no dispatch, no notification handlers); from any other thread through SendMessageW, so that the
    // control is still driven by its own thread.
    LRESULT SendToControl(UINT message, WPARAM wParam, LPARAM lParam) const;
    // A message whose answer nobody needs and that carries no pointer: on the GUI thread handled at once, from any
    // other thread posted (the sender goes on without waiting for the GUI thread).
    void PostToControl(UINT message, WPARAM wParam, LPARAM lParam) const;

    bool IsGuiThread() const { return GuiThread == GetCurrentThreadId(); }
    // GUI thread: writes into the controls every cell that other threads queued, oldest first, for every list (so
    // that cells of several lists reach their controls in the order they were written). Writes of this thread, row
    // insertions and removals do it first, so that they never meet an older write afterwards.
    static void DrainWrites();
    void AcquireLock() const;
    void ReleaseLock() const;
    void BeginUpdate();
    void EndUpdate();

    void OnSubclassed() override;
    LRESULT OnGetDlgCode(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnKeyDown(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnLeftButtonDblClk(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnNotify(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnUser(WPARAM wParam, LPARAM lParam) override;

protected:
    // a notification answer: through DWLP_MSGRESULT of the dialog when the list is a dialog item
    LRESULT AnswerNotify(LRESULT answer);
    LRESULT CustomDraw(NMLVCUSTOMDRAW& draw);

private:
    friend class ListViewItem;
    friend class ListViewEditBox;

    bool BeginEdit(ListViewItem* item, int column);
    void EndEdit(ListViewItem* item, bool commit);
    void DropEditor(ListViewItem* item);
    void ReleaseRetiredEditors();
    void RenumberItems(size_t from);
    // the caller holds the lock: the cells of the row at index, to be written by the GUI thread
    void QueueWrites(int index, const std::vector<ListViewItem::Cell>& cells);
    void RenumberColumns(size_t from);
    // the rows' copies of their texts after a column at index came (inserted) or went
    void ShiftTexts(int index, bool inserted);
    void ReadBackTexts();
    // a cell's text as the control holds it, in buffer
    const std::wstring& ReadControlText(int row, int column, std::wstring& buffer) const;
    bool InsertControlColumn(int index, const std::wstring& text, int width, int format);
    void OpenSelected();

    boost::shared_ptr<LockObject> Lock;
    WNDPROC ControlProcedure = 0; // the control's procedure under the subclass
    DWORD GuiThread = 0;          // the thread that owns the control
    std::vector<boost::shared_ptr<ListViewColumn>> Columns;
    std::vector<boost::shared_ptr<ListViewItem>> Items;
    uint8_t Behaviour = 0;
    ListViewItem* EditingItem = 0; // not owned
    // editors that ended inside their own message handlers live until the next edit, then go
    std::vector<boost::shared_ptr<ListViewEditBox>> RetiredEditors;
    // how many handlers of an editor are running on the stack
    int EditorHandlers = 0;
    std::atomic<int> UpdateDepth{0};
    // Raised while a thread other than the GUI thread inserts or removes rows or columns (under the lock): the
    // control and the rows' places may disagree until it is done.
    std::atomic<int> ForeignChanges{0};
    class ForeignChange : private boost::noncopyable {
    public:
        explicit ForeignChange(ListView& list) : List(list), Foreign(!list.IsGuiThread())
        {
            if (Foreign)
                ++List.ForeignChanges;
        }
        ~ForeignChange()
        {
            if (Foreign)
                --List.ForeignChanges;
        }

    private:
        ListView& List; // not owned
        bool Foreign;
    };
};

} // namespace kit
