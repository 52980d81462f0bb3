// One row of an ordinary ListView: its cell texts, its item data and its colours.
// Index is kept equal to the row's position in the control. The row keeps a copy of every text it gives the
// control, so reading a cell asks nothing of the control's thread. The cell text operations and the data take the
// list's lock; the colours may be set from any thread.
#pragma once

#include <windows.h>
#include <atomic>
#include <boost/any.hpp>
#include <boost/noncopyable.hpp>
#include <boost/shared_ptr.hpp>
#include <string>
#include <vector>

namespace kit {

class ListView;
class ListViewEditBox;

class ListViewItem : private boost::noncopyable {
public:
    ListViewItem(ListView* list, int index) : List(list), Index(index) {}

    std::wstring GetText(int column) const;
    void SetText(int column, const std::wstring& text);
    bool IsSelected() const;
    void SetSelected(bool selected);
    // the label rectangle (LVIR_LABEL) in client coordinates
    RECT GetRect() const;

    // a copy of the row's data; written back whole
    boost::any GetData() const;
    void SetData(const boost::any& data);
    // copies the data out when it holds a T
    template <class T> bool GetDataAs(T& value) const
    {
        boost::any data = GetData();
        if (const T* held = boost::any_cast<T>(&data)) {
            value = *held;
            return true;
        }
        return false;
    }

    COLORREF GetTextColor() const { return TextColor; }
    COLORREF GetBackColor() const { return BackColor; }
    // the row is repainted in its new colours (LVM_UPDATE)
    void SetColors(COLORREF text, COLORREF back);
    void SetBackColor(COLORREF back);
    void Redraw();

    // edits the cell in place; the list keeps at most one editor
    bool BeginEdit(int column);
    // commit writes the editor's text into the cell; either way the editor goes away
    void EndEdit(bool commit);
    // the list's editor while it edits this row, else null
    ListViewEditBox* GetEditor() const;
    int GetEditColumn() const;

    int GetIndex() const { return Index; }
    ListView* GetList() const { return List; }

private:
    friend class ListView;

    // the text of the cell at column in the copy; an empty text may leave the copy short
    void KeepText(int column, const std::wstring& text);

    ListView* List; // not owned
    // the cells' texts as last given to the control, by column; guarded by the list's lock
    std::vector<std::wstring> Texts;
    boost::any Data;
    std::atomic<int> Index;
    // read by the custom draw on the GUI thread while workers set them
    std::atomic<COLORREF> TextColor{0x000000};
    std::atomic<COLORREF> BackColor{0xFFFFFF};
};

} // namespace kit
