#include "kit/ui/ListViewEditBox.h"

#include "kit/ui/ControlUtility.h"
#include "kit/ui/ListView.h"

namespace kit {

boost::shared_ptr<ListViewEditBox> ListViewEditBox::Create(ListView* list, const RECT& rect, const std::wstring& text)
{
    boost::shared_ptr<ListViewEditBox> editor(new ListViewEditBox(list));
    if (!editor->CreateEdit(list, text, rect, 0))
        return boost::shared_ptr<ListViewEditBox>();
    // the list's font, so that the text does not jump when the edit starts
    SendMessageW(editor->Handle, WM_SETFONT, SendMessageW(list->Handle, WM_GETFONT, 0, 0), FALSE);
    return editor;
}

ListViewEditBox::ListViewEditBox(ListView* list) : List(list)
{
}

ListViewEditBox::HandlerScope::HandlerScope(ListViewEditBox& editor) : List(editor.List)
{
    ++List->EditorHandlers;
}

ListViewEditBox::HandlerScope::~HandlerScope()
{
    --List->EditorHandlers;
}

LRESULT ListViewEditBox::OnGetDlgCode(WPARAM wParam, LPARAM lParam)
{
    return WantKeysButTab(DefaultProc(WM_GETDLGCODE, wParam, lParam), lParam);
}

LRESULT ListViewEditBox::OnKillFocus(WPARAM wParam, LPARAM lParam)
{
    HandlerScope scope(*this);
    LRESULT result = DefaultProc(WM_KILLFOCUS, wParam, lParam);
    if (!Finished)
        List->EndEdit(this, true);
    return result;
}

LRESULT ListViewEditBox::OnKeyDown(WPARAM wParam, LPARAM lParam)
{
    if (Finished)
        return DefaultProc(WM_KEYDOWN, wParam, lParam);
    HandlerScope scope(*this);
    if (wParam == VK_RETURN) {
        List->EndEdit(this, true);
        return 0;
    }
    if (wParam == VK_ESCAPE) {
        List->EndEdit(this, false);
        return 0;
    }
    return EditBox::OnKeyDown(wParam, lParam);
}

} // namespace kit
