// The base of every window object: binds one object to one window handle and turns messages into virtual calls.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include <boost/noncopyable.hpp>
#include <boost/shared_ptr.hpp>

namespace kit {

class Window;
class Menu;
class MenuItem;
class ToolBar;

// the module every class, dialog, icon and bitmap is loaded from; the entry stores it before anything else runs
void SetModuleInstance(HINSTANCE instance);
HINSTANCE GetModuleInstance();

// a window whose state follows the state of the control that holds the binding (kinds evaluated by the control)
struct StateBinding {
    Window* Target; // not owned
    int32_t Kind;
    int32_t Value;
};

// a window whose state follows a check-mark menu item
struct MenuBinding {
    MenuItem* Item; // not owned
    ToolBar* Bar;   // not owned; the toolbar whose button carries the same command id, or null
    Window* Target; // not owned
    int32_t Kind;
};

// kinds shared by menu and state bindings
enum BindingKind : int32_t {
    BindEnable = 1,
    BindDisable = 2,
    BindShow = 3,
    BindHide = 4,
    BindTopMost = 5,
    BindPositionText = 6,
    BindRebarBand = 7,
};

// the old WM_CTLCOLOR number, no longer in the headers
const UINT WM_CTLCOLOR_OLD = 0x19;

class Window : private boost::noncopyable {
public:
    Window();

    // slots in order; each OnXxx passes its own message to DefaultProc unless a class replaces it
    virtual ~Window();                                                          // 0
    virtual void ApplyBinding(Window* target, int32_t kind, int32_t value);    // 1
    virtual void OnSubclassed();                                                // 2
    virtual LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);    // 3
    virtual LRESULT OnCreate(WPARAM wParam, LPARAM lParam);                     // 4  WM_CREATE
    virtual LRESULT OnInitDialog(WPARAM wParam, LPARAM lParam);                 // 5  WM_INITDIALOG
    virtual LRESULT OnParentNotify(WPARAM wParam, LPARAM lParam);               // 6  WM_PARENTNOTIFY
    virtual LRESULT OnClose(WPARAM wParam, LPARAM lParam);                      // 7  WM_CLOSE
    virtual LRESULT OnDestroy(WPARAM wParam, LPARAM lParam);                    // 8  WM_DESTROY
    virtual LRESULT OnDropFiles(WPARAM wParam, LPARAM lParam);                  // 9  WM_DROPFILES
    virtual LRESULT OnHScroll(WPARAM wParam, LPARAM lParam);                    // 10 WM_HSCROLL
    virtual LRESULT OnVScroll(WPARAM wParam, LPARAM lParam);                    // 11 WM_VSCROLL
    virtual LRESULT OnSize(WPARAM wParam, LPARAM lParam);                       // 12 WM_SIZE
    virtual LRESULT OnMoving(WPARAM wParam, LPARAM lParam);                     // 13 WM_MOVING
    virtual LRESULT OnMove(WPARAM wParam, LPARAM lParam);                       // 14 WM_MOVE
    virtual LRESULT OnNcActivate(WPARAM wParam, LPARAM lParam);                 // 15 WM_NCACTIVATE
    virtual LRESULT OnActivate(WPARAM wParam, LPARAM lParam);                   // 16 WM_ACTIVATE
    virtual LRESULT OnWindowPosChanging(WPARAM wParam, LPARAM lParam);          // 17 WM_WINDOWPOSCHANGING
    virtual LRESULT OnWindowPosChanged(WPARAM wParam, LPARAM lParam);           // 18 WM_WINDOWPOSCHANGED
    virtual LRESULT OnTimer(WPARAM wParam, LPARAM lParam);                      // 19 WM_TIMER
    virtual LRESULT OnPaint(WPARAM wParam, LPARAM lParam);                      // 20 WM_PAINT
    virtual LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);                 // 21 WM_ERASEBKGND
    virtual LRESULT OnUser(WPARAM wParam, LPARAM lParam);                       // 22 WM_USER
    virtual LRESULT OnGetDlgCode(WPARAM wParam, LPARAM lParam);                 // 23 WM_GETDLGCODE
    virtual LRESULT OnGetMinMaxInfo(WPARAM wParam, LPARAM lParam);              // 24 WM_GETMINMAXINFO
    virtual LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam);                 // 25 WM_NCCALCSIZE
    virtual LRESULT OnInitMenu(WPARAM wParam, LPARAM lParam);                   // 26 WM_INITMENU
    virtual LRESULT OnInitMenuPopup(WPARAM wParam, LPARAM lParam);              // 27 WM_INITMENUPOPUP
    virtual LRESULT OnMenuSelect(WPARAM wParam, LPARAM lParam);                 // 28 WM_MENUSELECT
    virtual LRESULT OnContextMenu(WPARAM wParam, LPARAM lParam);                // 29 WM_CONTEXTMENU
    virtual LRESULT OnDrawItem(WPARAM wParam, LPARAM lParam);                   // 30 WM_DRAWITEM
    virtual LRESULT OnSetFocus(WPARAM wParam, LPARAM lParam);                   // 31 WM_SETFOCUS
    virtual LRESULT OnKillFocus(WPARAM wParam, LPARAM lParam);                  // 32 WM_KILLFOCUS
    virtual LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);                  // 33 WM_MOUSEMOVE
    virtual LRESULT OnSetCursor(WPARAM wParam, LPARAM lParam);                  // 34 WM_SETCURSOR
    virtual LRESULT OnKeyDown(WPARAM wParam, LPARAM lParam);                    // 35 WM_KEYDOWN
    virtual LRESULT OnKeyUp(WPARAM wParam, LPARAM lParam);                      // 36 WM_KEYUP
    virtual LRESULT OnSysKeyDown(WPARAM wParam, LPARAM lParam);                 // 37 WM_SYSKEYDOWN
    virtual LRESULT OnSysKeyUp(WPARAM wParam, LPARAM lParam);                   // 38 WM_SYSKEYUP
    virtual LRESULT OnLeftButtonDown(WPARAM wParam, LPARAM lParam);             // 39 WM_LBUTTONDOWN
    virtual LRESULT OnLeftButtonUp(WPARAM wParam, LPARAM lParam);               // 40 WM_LBUTTONUP
    virtual LRESULT OnLeftButtonDblClk(WPARAM wParam, LPARAM lParam);           // 41 WM_LBUTTONDBLCLK
    virtual LRESULT OnRightButtonDown(WPARAM wParam, LPARAM lParam);            // 42 WM_RBUTTONDOWN
    virtual LRESULT OnRightButtonUp(WPARAM wParam, LPARAM lParam);              // 43 WM_RBUTTONUP
    virtual LRESULT OnRightButtonDblClk(WPARAM wParam, LPARAM lParam);          // 44 WM_RBUTTONDBLCLK
    virtual LRESULT OnNcLeftButtonDown(WPARAM wParam, LPARAM lParam);           // 45 WM_NCLBUTTONDOWN
    virtual LRESULT OnNcLeftButtonUp(WPARAM wParam, LPARAM lParam);             // 46 WM_NCLBUTTONUP
    virtual LRESULT OnNcRightButtonDown(WPARAM wParam, LPARAM lParam);          // 47 WM_NCRBUTTONDOWN
    virtual LRESULT OnNcRightButtonUp(WPARAM wParam, LPARAM lParam);            // 48 WM_NCRBUTTONUP
    virtual LRESULT OnEnterSizeMove(WPARAM wParam, LPARAM lParam);              // 49 WM_ENTERSIZEMOVE
    virtual LRESULT OnExitSizeMove(WPARAM wParam, LPARAM lParam);               // 50 WM_EXITSIZEMOVE
    virtual LRESULT OnCtlColor(WPARAM wParam, LPARAM lParam);                   // 51 0x19
    virtual LRESULT OnCtlColorStatic(WPARAM wParam, LPARAM lParam);             // 52 WM_CTLCOLORSTATIC
    virtual LRESULT OnSetCheck(WPARAM wParam, LPARAM lParam);                   // 53 BM_SETCHECK
    virtual LRESULT OnCommand(WPARAM wParam, LPARAM lParam);                    // 54 WM_COMMAND (reflects)
    virtual LRESULT OnNotify(WPARAM wParam, LPARAM lParam);                     // 55 WM_NOTIFY (reflects)

    // Creates a window of a class registered here with the toolkit's window procedure. True when a handle came.
    bool Create(Window* parent, const std::wstring& className, const std::wstring& title, DWORD style,
                DWORD exStyle);
    // Creates a system control (BUTTON, EDIT, ...) under parent; the control factories call this.
    bool CreateControl(Window* parent, const wchar_t* className, const std::wstring& text, DWORD style,
                       DWORD exStyle, const RECT& rect, int controlId);
    // Binds to an existing dialog item; false when the dialog has no such item.
    bool Attach(Window* dialog, int controlId);
    bool AttachAndSubclass(Window* dialog, int controlId);
    // Routes the handle's messages through this object by swapping its procedure (GWLP_WNDPROC, put back on release).
    void Subclass();
    // A non-owning object around a foreign handle (a message box, its owner).
    static boost::shared_ptr<Window> Wrap(HWND handle);

    // Sets Parent and enters this object into the parent's Children (does nothing for a null parent).
    void LinkParent(Window* parent);

    void AddStateBinding(Window* target, int32_t kind, int32_t value);
    void UpdateBindings();
    void AddMenuBinding(MenuItem* item, ToolBar* bar, Window* target, int32_t kind);
    // Sets the window's menu bar; an empty pointer removes it.
    void SetMenu(const boost::shared_ptr<Menu>& menu);

    void SetText(const std::wstring& text);
    std::wstring GetText() const;
    bool ShellOpen(const std::wstring& file, const std::wstring& parameters, const std::wstring& directory);
    // Centres this window on reference (or on Parent when reference is null); size unchanged.
    void CenterOver(const Window* reference);
    // Screen rectangle between the caption and the client area of window.
    static RECT GetMenuBarRect(const Window* window);

    // The object bound to a handle, or null when none is (only live kit::Window objects are returned).
    static Window* FromHandle(HWND handle);
    // Registers a class with the toolkit's window procedure; a class that exists already counts as success.
    static bool RegisterWindowClass(const std::wstring& className, HICON icon);

    // Procedures shared by all windows, dialogs and subclassed controls. No exception leaves them.
    static LRESULT CALLBACK WindowProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR CALLBACK DialogProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK SubclassProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam,
                                              UINT_PTR id, DWORD_PTR data);
    // Binds object to handle (Handle and GWLP_USERDATA).
    static void Bind(HWND handle, Window* object);
    // Dispatches one message to object; catches every exception (the result is then 0).
    static LRESULT Dispatch(Window* object, UINT message, WPARAM wParam, LPARAM lParam);

    HWND Handle;                                  // null before creation and after destruction
    Window* Parent;                               // not owned
    std::unordered_set<Window*> Children;         // not owned
    LRESULT (CALLBACK* DefaultProcedure)(HWND, UINT, WPARAM, LPARAM);
    std::vector<StateBinding> StateBindings;
    std::unordered_multimap<uint16_t, MenuBinding> MenuBindings;
    bool Subclassed;
    bool Attached;
    bool TopMost;
    bool OwnsHandle;

private:
    LRESULT Route(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Reflect(HWND from, UINT message, WPARAM wParam, LPARAM lParam);
    void RunMenuBindings(uint16_t command, LPARAM lParam);
    void DetachFromTree();
    void Unbind();
};

// Applies one menu binding of the given kind with the item's checked state.
void ApplyMenuBinding(const MenuBinding& binding, bool checked);

// A message box centred on its owner's window. Returns the MessageBoxW result.
int ShowMessageBox(const std::wstring& caption, const std::wstring& text, const Window* owner, UINT type);

// Offers a message to IsDialogMessageW of every live dialog; true when one took it.
bool OfferToDialogs(MSG& message);
// The program's message loop: runs until WM_QUIT, offering each message to the live dialogs first.
void RunMessageLoop();
// Processes the pending messages and returns; used inside long jobs on the GUI thread so windows keep painting.
void PumpMessages();

// The waits of a window thread for another thread, which may itself be waiting inside SendMessageW for this one:
// they answer every message other threads send meanwhile. Posted messages and input stay queued, so no command or
// paint runs in the middle of the caller's work.
// Waits for handle (none: only serves for the timeout); true when it was signalled.
bool WaitServingSentMessages(HANDLE handle, DWORD timeoutMs);
// Waits until done() holds, asking again every millisecond.
void ServeSentMessagesUntil(const std::function<bool()>& done);

} // namespace kit
