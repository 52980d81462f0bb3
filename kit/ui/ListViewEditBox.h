// The edit box shown over a list cell while it is edited in place: Enter commits, Esc cancels, losing the focus
// commits.
#pragma once

#include "kit/ui/EditBox.h"

namespace kit {

class ListView;

class ListViewEditBox : public EditBox {
public:
    static boost::shared_ptr<ListViewEditBox> Create(ListView* list, const RECT& rect, const std::wstring& text);
    // set once the edit has ended, so that the focus change while the box goes away ends nothing again
    void MarkFinished() { Finished = true; }
    bool IsFinished() const { return Finished; }

    LRESULT OnGetDlgCode(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnKillFocus(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnKeyDown(WPARAM wParam, LPARAM lParam) override;

private:
    // counts the editor's handlers on the stack, so that the list keeps this object alive until they return
    class HandlerScope : private boost::noncopyable {
    public:
        explicit HandlerScope(ListViewEditBox& editor);
        ~HandlerScope();

    private:
        ListView* List; // not owned
    };

    explicit ListViewEditBox(ListView* list);

    ListView* List; // not owned; outlives its editors, which may outlive their row
    bool Finished = false;
};

} // namespace kit
