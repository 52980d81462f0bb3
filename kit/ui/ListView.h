// A report-style list view whose rows and columns are mirrored in objects. Worker threads change rows while the GUI
// thread reads them, so the list carries a lock: the GUI thread never blocks on it (it keeps serving sent messages,
// since the holder may be waiting in SendMessageW for it), other threads wait.
//
// A virtual list (created with a ListViewSource) keeps no rows at all: the control has only a count and asks the
// source for the texts, icons, colours and check boxes of the rows it paints. Its rows are addressed by index; the
// row objects (AddItem, GetItem, ...) belong to the ordinary lists only.
#pragma once

#include "kit/ui/ListViewColumn.h"
#include "kit/ui/ListViewItem.h"
#include "kit/ui/ListViewSource.h"
#include "kit/ui/Window.h"

#include <atomic>
#include <commctrl.h>
#include <functional>
#include <vector>

namespace kit {

class BlendedImages;
class LockObject;

class ListView : public Window {
public:
    enum BehaviourFlag : uint8_t {
        ColorDrawing = 0x01, // custom draw in each row's colours
        SelectAllKey = 0x02, // Ctrl+A selects every row
        DeleteKey = 0x04,    // Delete removes the selected rows
        OpenKey = 0x08,      // Enter opens the selected rows' files
        InPlaceEdit = 0x10,  // Enter, F2 and double-click edit a cell; the list keeps an empty last row
        // A virtual list with ColorDrawing and no check boxes blends its source's first-column images itself, from
        // premultiplied copies (BlendedImages), over the painted cell; the control still draws those of selected
        // rows in a focused list, which it tints.
        BlendedIcons = 0x20,
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

    // locked: a critical section guards the rows; otherwise the lock costs nothing (one filling thread)
    explicit ListView(bool locked);
    ~ListView() override;

    static boost::shared_ptr<ListView> Create(Window* parent, int id, bool locked);
    static boost::shared_ptr<ListView> Attach(Window* dialog, int id, bool locked);
    // for derived lists, constructed first: a new control under parent, or a dialog item (subclassed)
    bool Create(Window* parent, int id);
    bool Attach(Window* dialog, int id);

    // Virtual lists: the source (not owned) outlives the list. A dialog item made without LVS_OWNERDATA is
    // replaced by an owner-data control of the same place, styles, font and id (the style cannot be added later).
    static boost::shared_ptr<ListView> CreateVirtual(Window* parent, int id, ListViewSource* source);
    static boost::shared_ptr<ListView> AttachVirtual(Window* dialog, int id, ListViewSource* source);
    bool CreateVirtual(Window* parent, int id);
    bool AttachVirtual(Window* dialog, int id);
    bool IsVirtual() const { return Source != 0; }
    ListViewSource* GetSource() const { return Source; }
    // The number of rows of a virtual list: the control only learns the count; neither the scroll position nor the
    // rows already painted change, so rows whose contents moved are repainted with RedrawRows.
    bool SetRowCount(int count);
    // repaints rows first..last (inclusive) of a virtual or ordinary list; on the GUI thread only the visible part
    // is invalidated, from other threads the request is posted
    void RedrawRows(int first, int last);

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
    // the rows of the control: the row objects, or the count of a virtual list
    int GetItemCount() const { return Source ? RowCount.load() : static_cast<int>(Items.size()); }
    // the row a control item stands for (its lParam), for custom draw handlers
    static ListViewItem* ItemFromParam(LPARAM param) { return reinterpret_cast<ListViewItem*>(param); }

    // rows whose check box state image is not the unchecked one (1); a virtual list asks its source
    int CountChecked() const;
    // selection and focus, kept by the control in both modes
    std::vector<int> GetSelectedIndexes() const;
    int GetSelectedCount() const;
    int GetFirstSelectedRow() const;
    int GetFocusedRow() const;
    ListViewItem* GetFirstSelected() const;
    void SelectAll();
    // selects exactly the rows for which selected answers true (the others lose their selection)
    void SelectRows(const std::function<bool(int)>& selected);
    void SetRowSelected(int row, bool selected);
    // the focus (and the selection anchor) on row; -1 takes it away
    void SetFocusedRow(int row);
    void EnsureVisible(int row);
    // the row under the client point, and the column hit; -1 (null) when no item is hit
    int HitTestRow(int x, int y, int* column) const;
    ListViewItem* HitTest(int x, int y, int* column) const;
    // a cell's text in either mode, as the control shows it
    std::wstring GetCellText(int row, int column) const;
    RECT GetHeaderRect() const;
    bool ColumnsWiderThanClient() const;
    // with InPlaceEdit: when the list is empty or its last row's first cell holds text, adds an empty row
    void EnsureEmptyLastRow();
    // the row being edited, or null (ordinary lists)
    ListViewItem* GetEditingItem() const { return EditingItem; }
    // in-place editing by position, in both modes; the row being edited is -1 when none is
    bool BeginEditCell(int row, int column);
    int GetEditRow() const { return Editor ? EditRow : -1; }
    int GetEditColumn() const { return EditColumn; }
    ListViewEditBox* GetEditor() const { return Editor.get(); }

    // A message to the control: on the GUI thread straight to the control's own procedure, past this object's
    // routing (no dispatch, no notification handlers); from any other thread through SendMessageW, so that the
    // control is still driven by its own thread.
    LRESULT SendToControl(UINT message, WPARAM wParam, LPARAM lParam) const;
    // A message whose answer nobody needs and that carries no pointer: on the GUI thread handled at once, from any
    // other thread posted (the sender goes on without waiting for the GUI thread).
    void PostToControl(UINT message, WPARAM wParam, LPARAM lParam) const;

    bool IsGuiThread() const { return GuiThread == GetCurrentThreadId(); }
    void AcquireLock() const;
    void ReleaseLock() const;
    void BeginUpdate();
    void EndUpdate();

    void OnSubclassed() override;
    LRESULT OnGetDlgCode(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnKeyDown(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnLeftButtonDown(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnLeftButtonDblClk(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnNotify(WPARAM wParam, LPARAM lParam) override;

protected:
    // a derived list that is its own source says so before it creates its control
    void UseSource(ListViewSource* source) { Source = source; }
    // a notification answer: through DWLP_MSGRESULT of the dialog when the list is a dialog item
    LRESULT AnswerNotify(LRESULT answer);
    LRESULT CustomDraw(NMLVCUSTOMDRAW& draw);
    // the owner-data notifications of a virtual list; false when the notification is not one of them
    bool SourceNotify(NMHDR& header, LRESULT& answer);

private:
    friend class ListViewItem;
    friend class ListViewEditBox;

    bool BeginEdit(ListViewItem* item, int column);
    // ends the edit of editor when it is still the list's one
    void EndEdit(ListViewEditBox* editor, bool commit);
    void DropEditor();
    bool UsesCheckBoxes() const;
    void ToggleChecks(int row);
    void FillDisplayInfo(LVITEMW& item);
    // with BlendedIcons: the list, not the control, draws the row's image (as the current paint began)
    bool BlendsImage(int row) const;
    void BlendImage(int row, HDC dc);
    void PreparePaint(HDC dc);
    void ReleaseRetiredEditors();
    void RenumberItems(size_t from);
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
    ListViewSource* Source = 0; // not owned; set for a virtual list
    // as the current paint began: the copies of the small image list when the list blends them, and the focus
    boost::shared_ptr<BlendedImages> Blended;
    bool PaintsFocused = false;
    std::atomic<int> RowCount{0};
    // the one in-place editor, the row it edits (the object too in an ordinary list) and the column
    boost::shared_ptr<ListViewEditBox> Editor;
    ListViewItem* EditingItem = 0; // not owned
    int EditRow = -1;
    int EditColumn = 0;
    // the texts of virtual cells are built here before they are copied into the control's buffer
    std::wstring CellBuffer;
    // editors that ended inside their own message handlers live until the next edit, then go
    std::vector<boost::shared_ptr<ListViewEditBox>> RetiredEditors;
    // how many handlers of an editor are running on the stack
    int EditorHandlers = 0;
    std::atomic<int> UpdateDepth{0};
};

} // namespace kit
