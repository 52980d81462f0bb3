#include "kit/ui/Window.h"

#include <commctrl.h>
#include <shellapi.h>

#include "kit/ui/Dialog.h"
#include "kit/ui/Menu.h"
#include "kit/ui/MenuItem.h"
#include "kit/ui/ToolBar.h"
#include "kit/ui/ToolBarButton.h"

#include <algorithm>

namespace kit {

namespace {

HINSTANCE ModuleInstance = nullptr;

// every live object, so that a foreign GWLP_USERDATA value or a stale pointer is never taken for one of ours
std::unordered_set<const Window*>& LiveWindows()
{
    static std::unordered_set<const Window*> windows;
    return windows;
}

// LiveWindows is touched only by the threads that create windows; the lock keeps a test thread safe as well
SRWLOCK LiveLock = SRWLOCK_INIT;

// the procedure a subclassed handle had before this toolkit's, kept until the handle dies: messages that reach the
// toolkit's procedure with no object bound (after its release, under a later subclass) go on to it
std::unordered_map<HWND, WNDPROC>& OriginalProcedures()
{
    static std::unordered_map<HWND, WNDPROC> procedures;
    return procedures;
}

SRWLOCK OriginalLock = SRWLOCK_INIT;

WNDPROC FindOriginal(HWND handle)
{
    AcquireSRWLockShared(&OriginalLock);
    const std::unordered_map<HWND, WNDPROC>::const_iterator found = OriginalProcedures().find(handle);
    const WNDPROC original = found == OriginalProcedures().end() ? nullptr : found->second;
    ReleaseSRWLockShared(&OriginalLock);
    return original;
}

void ForgetOriginal(HWND handle)
{
    AcquireSRWLockExclusive(&OriginalLock);
    OriginalProcedures().erase(handle);
    ReleaseSRWLockExclusive(&OriginalLock);
}

// the procedure of every subclassed handle
LRESULT CALLBACK SwappedProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* object = Window::FromHandle(handle);
    if (object && object->Subclassed)
        return Window::Dispatch(object, message, wParam, lParam);
    // released while another subclass sits above this one: the control's own procedure, until the handle dies
    const WNDPROC original = FindOriginal(handle);
    const LRESULT result = original ? CallWindowProcW(original, handle, message, wParam, lParam)
                                    : DefWindowProcW(handle, message, wParam, lParam);
    if (message == WM_NCDESTROY)
        ForgetOriginal(handle);
    return result;
}

// Puts the control's own procedure back, but only while this one is the outermost: putting it back under a later
// subclass would cut that subclass out. This one then stays, passing messages on, until the handle dies.
void ReleaseSubclass(HWND handle)
{
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(handle, GWLP_WNDPROC)) != &SwappedProcedure)
        return;
    if (const WNDPROC original = FindOriginal(handle))
        SetWindowLongPtrW(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    ForgetOriginal(handle);
}

} // namespace

void SetModuleInstance(HINSTANCE instance)
{
    ModuleInstance = instance;
}

HINSTANCE GetModuleInstance()
{
    return ModuleInstance ? ModuleInstance : GetModuleHandleW(nullptr);
}

Window::Window()
    : Handle(nullptr), Parent(nullptr), DefaultProcedure(DefWindowProcW), Subclassed(false), Attached(false),
      TopMost(false), OwnsHandle(true)
{
    AcquireSRWLockExclusive(&LiveLock);
    LiveWindows().insert(this);
    ReleaseSRWLockExclusive(&LiveLock);
}

Window::~Window()
{
    AcquireSRWLockExclusive(&LiveLock);
    LiveWindows().erase(this);
    ReleaseSRWLockExclusive(&LiveLock);
    if (Subclassed) {
        Subclassed = false;
        if (Handle)
            ReleaseSubclass(Handle);
    }
    // messages sent while the window goes away must not reach this half-destroyed object
    Unbind();
    if (OwnsHandle && Handle && IsWindow(Handle))
        DestroyWindow(Handle);
    Handle = nullptr;
    DetachFromTree();
}

void Window::Unbind()
{
    if (Handle && GetWindowLongPtrW(Handle, GWLP_USERDATA) == reinterpret_cast<LONG_PTR>(this))
        SetWindowLongPtrW(Handle, GWLP_USERDATA, 0);
}

void Window::ApplyBinding(Window*, int32_t, int32_t) {}

void Window::OnSubclassed() {}

LRESULT Window::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcW(DefaultProcedure, Handle, message, wParam, lParam);
}

#define KIT_DEFAULT_SLOT(name, message) \
    LRESULT Window::name(WPARAM wParam, LPARAM lParam) { return DefaultProc(message, wParam, lParam); }

KIT_DEFAULT_SLOT(OnCreate, WM_CREATE)
KIT_DEFAULT_SLOT(OnInitDialog, WM_INITDIALOG)
KIT_DEFAULT_SLOT(OnParentNotify, WM_PARENTNOTIFY)
KIT_DEFAULT_SLOT(OnClose, WM_CLOSE)
KIT_DEFAULT_SLOT(OnDestroy, WM_DESTROY)
KIT_DEFAULT_SLOT(OnDropFiles, WM_DROPFILES)
KIT_DEFAULT_SLOT(OnHScroll, WM_HSCROLL)
KIT_DEFAULT_SLOT(OnVScroll, WM_VSCROLL)
KIT_DEFAULT_SLOT(OnSize, WM_SIZE)
KIT_DEFAULT_SLOT(OnMoving, WM_MOVING)
KIT_DEFAULT_SLOT(OnMove, WM_MOVE)
KIT_DEFAULT_SLOT(OnNcActivate, WM_NCACTIVATE)
KIT_DEFAULT_SLOT(OnActivate, WM_ACTIVATE)
KIT_DEFAULT_SLOT(OnWindowPosChanging, WM_WINDOWPOSCHANGING)
KIT_DEFAULT_SLOT(OnWindowPosChanged, WM_WINDOWPOSCHANGED)
KIT_DEFAULT_SLOT(OnTimer, WM_TIMER)
KIT_DEFAULT_SLOT(OnPaint, WM_PAINT)
KIT_DEFAULT_SLOT(OnEraseBkgnd, WM_ERASEBKGND)
KIT_DEFAULT_SLOT(OnUser, WM_USER)
KIT_DEFAULT_SLOT(OnGetDlgCode, WM_GETDLGCODE)
KIT_DEFAULT_SLOT(OnGetMinMaxInfo, WM_GETMINMAXINFO)
KIT_DEFAULT_SLOT(OnNcCalcSize, WM_NCCALCSIZE)
KIT_DEFAULT_SLOT(OnInitMenu, WM_INITMENU)
KIT_DEFAULT_SLOT(OnInitMenuPopup, WM_INITMENUPOPUP)
KIT_DEFAULT_SLOT(OnMenuSelect, WM_MENUSELECT)
KIT_DEFAULT_SLOT(OnContextMenu, WM_CONTEXTMENU)
KIT_DEFAULT_SLOT(OnDrawItem, WM_DRAWITEM)
KIT_DEFAULT_SLOT(OnSetFocus, WM_SETFOCUS)
KIT_DEFAULT_SLOT(OnKillFocus, WM_KILLFOCUS)
KIT_DEFAULT_SLOT(OnMouseMove, WM_MOUSEMOVE)
KIT_DEFAULT_SLOT(OnSetCursor, WM_SETCURSOR)
KIT_DEFAULT_SLOT(OnKeyDown, WM_KEYDOWN)
KIT_DEFAULT_SLOT(OnKeyUp, WM_KEYUP)
KIT_DEFAULT_SLOT(OnSysKeyDown, WM_SYSKEYDOWN)
KIT_DEFAULT_SLOT(OnSysKeyUp, WM_SYSKEYUP)
KIT_DEFAULT_SLOT(OnLeftButtonDown, WM_LBUTTONDOWN)
KIT_DEFAULT_SLOT(OnLeftButtonUp, WM_LBUTTONUP)
KIT_DEFAULT_SLOT(OnLeftButtonDblClk, WM_LBUTTONDBLCLK)
KIT_DEFAULT_SLOT(OnRightButtonDown, WM_RBUTTONDOWN)
KIT_DEFAULT_SLOT(OnRightButtonUp, WM_RBUTTONUP)
KIT_DEFAULT_SLOT(OnRightButtonDblClk, WM_RBUTTONDBLCLK)
KIT_DEFAULT_SLOT(OnNcLeftButtonDown, WM_NCLBUTTONDOWN)
KIT_DEFAULT_SLOT(OnNcLeftButtonUp, WM_NCLBUTTONUP)
KIT_DEFAULT_SLOT(OnNcRightButtonDown, WM_NCRBUTTONDOWN)
KIT_DEFAULT_SLOT(OnNcRightButtonUp, WM_NCRBUTTONUP)
KIT_DEFAULT_SLOT(OnEnterSizeMove, WM_ENTERSIZEMOVE)
KIT_DEFAULT_SLOT(OnExitSizeMove, WM_EXITSIZEMOVE)
KIT_DEFAULT_SLOT(OnCtlColor, WM_CTLCOLOR_OLD)
KIT_DEFAULT_SLOT(OnCtlColorStatic, WM_CTLCOLORSTATIC)
KIT_DEFAULT_SLOT(OnSetCheck, BM_SETCHECK)

#undef KIT_DEFAULT_SLOT

LRESULT Window::OnCommand(WPARAM wParam, LPARAM lParam)
{
    return Reflect(reinterpret_cast<HWND>(lParam), WM_COMMAND, wParam, lParam);
}

LRESULT Window::OnNotify(WPARAM wParam, LPARAM lParam)
{
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    return Reflect(header ? header->hwndFrom : nullptr, WM_NOTIFY, wParam, lParam);
}

// a notification goes back to the subclassed control that sent it, so the control handles its own events
LRESULT Window::Reflect(HWND from, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* sender = from ? FromHandle(from) : nullptr;
    if (sender == this)
        return 0;
    if (sender && sender->Subclassed) {
        // on the control's own thread straight to its object: a list sends one for every row it inserts or changes
        if (GetWindowThreadProcessId(from, nullptr) == GetCurrentThreadId())
            return Dispatch(sender, message, wParam, lParam);
        return SendMessageW(from, message, wParam, lParam);
    }
    return DefaultProc(message, wParam, lParam);
}

// ---------------------------------------------------------------------------------------------------------------
// binding objects to handles

Window* Window::FromHandle(HWND handle)
{
    if (!handle)
        return nullptr;
    Window* object = reinterpret_cast<Window*>(GetWindowLongPtrW(handle, GWLP_USERDATA));
    if (!object)
        return nullptr;
    AcquireSRWLockShared(&LiveLock);
    const bool live = LiveWindows().count(object) != 0;
    ReleaseSRWLockShared(&LiveLock);
    return live && object->Handle == handle ? object : nullptr;
}

void Window::Bind(HWND handle, Window* object)
{
    object->Handle = handle;
    SetWindowLongPtrW(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
}

LRESULT CALLBACK Window::WindowProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* object = FromHandle(handle);
    if (!object && message == WM_NCCREATE) {
        const CREATESTRUCTW* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        if (create->dwExStyle & WS_EX_MDICHILD) {
            const MDICREATESTRUCTW* mdi = static_cast<const MDICREATESTRUCTW*>(create->lpCreateParams);
            object = mdi ? reinterpret_cast<Window*>(mdi->lParam) : nullptr;
        } else {
            object = static_cast<Window*>(create->lpCreateParams);
        }
        if (object)
            Bind(handle, object);
    }
    if (!object)
        return DefWindowProcW(handle, message, wParam, lParam);
    return Dispatch(object, message, wParam, lParam);
}

INT_PTR CALLBACK Window::DialogProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* object = FromHandle(handle);
    if (!object && message == WM_INITDIALOG) {
        object = reinterpret_cast<Window*>(lParam);
        if (object)
            Bind(handle, object);
    }
    // an unbound dialog leaves everything to the dialog manager (FALSE), never to DefWindowProcW
    if (!object)
        return FALSE;
    return Dispatch(object, message, wParam, lParam);
}

// the same routing for a handle chained with SetWindowSubclass (the toolkit itself swaps procedures, see Subclass)
LRESULT CALLBACK Window::SubclassProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR)
{
    return SwappedProcedure(handle, message, wParam, lParam);
}

LRESULT Window::Dispatch(Window* object, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        return object->Route(message, wParam, lParam);
    } catch (...) {
        // nothing may unwind through the system's frames; the message counts as handled
        return 0;
    }
}

LRESULT Window::Route(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: return OnCreate(wParam, lParam);
    case WM_INITDIALOG: return OnInitDialog(wParam, lParam);
    case WM_PARENTNOTIFY: return OnParentNotify(wParam, lParam);
    case WM_CLOSE: return OnClose(wParam, lParam);
    case WM_DESTROY: {
        OwnsHandle = false;
        const LRESULT result = OnDestroy(wParam, lParam);
        DetachFromTree();
        return result;
    }
    case WM_NCDESTROY: {
        // the handle dies here: forget it, so that no later call reaches a recycled handle
        HWND handle = Handle;
        const bool subclassed = Subclassed;
        if (Subclassed) {
            Subclassed = false;
            ReleaseSubclass(handle);
        }
        Unbind();
        const LRESULT result = DefaultProc(message, wParam, lParam);
        Handle = nullptr;
        if (subclassed)
            ForgetOriginal(handle);
        return result;
    }
    case WM_DROPFILES: return OnDropFiles(wParam, lParam);
    case WM_HSCROLL: return OnHScroll(wParam, lParam);
    case WM_VSCROLL: return OnVScroll(wParam, lParam);
    case WM_SIZE: return OnSize(wParam, lParam);
    case WM_MOVING: return OnMoving(wParam, lParam);
    case WM_MOVE: return OnMove(wParam, lParam);
    case WM_NCACTIVATE: return OnNcActivate(wParam, lParam);
    case WM_ACTIVATE: return OnActivate(wParam, lParam);
    case WM_WINDOWPOSCHANGING: return OnWindowPosChanging(wParam, lParam);
    case WM_WINDOWPOSCHANGED: return OnWindowPosChanged(wParam, lParam);
    case WM_TIMER: return OnTimer(wParam, lParam);
    case WM_PAINT: return OnPaint(wParam, lParam);
    case WM_ERASEBKGND: return OnEraseBkgnd(wParam, lParam);
    case WM_USER: return OnUser(wParam, lParam);
    case WM_GETDLGCODE: return OnGetDlgCode(wParam, lParam);
    case WM_GETMINMAXINFO: return OnGetMinMaxInfo(wParam, lParam);
    case WM_NCCALCSIZE: return OnNcCalcSize(wParam, lParam);
    case WM_INITMENU: return OnInitMenu(wParam, lParam);
    case WM_INITMENUPOPUP: return OnInitMenuPopup(wParam, lParam);
    case WM_MENUSELECT: return OnMenuSelect(wParam, lParam);
    case WM_CONTEXTMENU: return OnContextMenu(wParam, lParam);
    case WM_DRAWITEM: return OnDrawItem(wParam, lParam);
    case WM_SETFOCUS: return OnSetFocus(wParam, lParam);
    case WM_KILLFOCUS: return OnKillFocus(wParam, lParam);
    case WM_MOUSEMOVE: return OnMouseMove(wParam, lParam);
    case WM_SETCURSOR: return OnSetCursor(wParam, lParam);
    case WM_KEYDOWN: return OnKeyDown(wParam, lParam);
    case WM_KEYUP: return OnKeyUp(wParam, lParam);
    case WM_SYSKEYDOWN: return OnSysKeyDown(wParam, lParam);
    case WM_SYSKEYUP: return OnSysKeyUp(wParam, lParam);
    case WM_LBUTTONDOWN: return OnLeftButtonDown(wParam, lParam);
    case WM_LBUTTONUP: return OnLeftButtonUp(wParam, lParam);
    case WM_LBUTTONDBLCLK: return OnLeftButtonDblClk(wParam, lParam);
    case WM_RBUTTONDOWN: return OnRightButtonDown(wParam, lParam);
    case WM_RBUTTONUP: return OnRightButtonUp(wParam, lParam);
    case WM_RBUTTONDBLCLK: return OnRightButtonDblClk(wParam, lParam);
    case WM_NCLBUTTONDOWN: return OnNcLeftButtonDown(wParam, lParam);
    case WM_NCLBUTTONUP: return OnNcLeftButtonUp(wParam, lParam);
    case WM_NCRBUTTONDOWN: return OnNcRightButtonDown(wParam, lParam);
    case WM_NCRBUTTONUP: return OnNcRightButtonUp(wParam, lParam);
    case WM_ENTERSIZEMOVE: return OnEnterSizeMove(wParam, lParam);
    case WM_EXITSIZEMOVE: return OnExitSizeMove(wParam, lParam);
    case WM_CTLCOLOR_OLD: return OnCtlColor(wParam, lParam);
    case WM_CTLCOLORSTATIC: return OnCtlColorStatic(wParam, lParam);
    case BM_SETCHECK: return OnSetCheck(wParam, lParam);
    case WM_COMMAND:
        RunMenuBindings(LOWORD(wParam), lParam);
        return OnCommand(wParam, lParam);
    case WM_NOTIFY: return OnNotify(wParam, lParam);
    default: return DefaultProc(message, wParam, lParam);
    }
}

void Window::DetachFromTree()
{
    for (Window* child : Children)
        child->Parent = nullptr;
    Children.clear();
    if (Parent)
        Parent->Children.erase(this);
    Parent = nullptr;
}

void Window::LinkParent(Window* parent)
{
    if (!parent || parent == Parent)
        return;
    if (Parent)
        Parent->Children.erase(this);
    Parent = parent;
    parent->Children.insert(this);
}

// ---------------------------------------------------------------------------------------------------------------
// creation

bool Window::RegisterWindowClass(const std::wstring& className, HICON icon)
{
    WNDCLASSW windowClass = {};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = GetModuleInstance();
    windowClass.hIcon = icon ? icon : LoadIconW(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = className.c_str();
    return RegisterClassW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool Window::Create(Window* parent, const std::wstring& className, const std::wstring& title, DWORD style,
                    DWORD exStyle)
{
    LinkParent(parent);
    // a class registered earlier (perhaps with its own icon) stays as it is
    RegisterWindowClass(className, nullptr);
    HWND handle = CreateWindowExW(exStyle, className.c_str(), title.c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, parent ? parent->Handle : nullptr, nullptr,
                                  GetModuleInstance(), this);
    if (handle && !Handle)
        Bind(handle, this);
    return handle != nullptr;
}

bool Window::CreateControl(Window* parent, const wchar_t* className, const std::wstring& text, DWORD style,
                           DWORD exStyle, const RECT& rect, int controlId)
{
    LinkParent(parent);
    Handle = CreateWindowExW(exStyle, className, text.c_str(), style, rect.left, rect.top, rect.right - rect.left,
                             rect.bottom - rect.top, parent ? parent->Handle : nullptr,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), GetModuleInstance(), nullptr);
    return Handle != nullptr;
}

bool Window::Attach(Window* dialog, int controlId)
{
    if (!dialog || !dialog->Handle)
        return false;
    HWND item = GetDlgItem(dialog->Handle, controlId);
    if (!item)
        return false;
    LinkParent(dialog);
    Bind(item, this);
    Attached = true;
    OwnsHandle = false;
    return true;
}

bool Window::AttachAndSubclass(Window* dialog, int controlId)
{
    if (!Attach(dialog, controlId))
        return false;
    Subclass();
    return true;
}

// The window procedure is swapped rather than chained with SetWindowSubclass: the common controls' chain looks a
// window property up for every message, a round trip to the server under Wine that made a message to a subclassed
// control some twenty times dearer than to a bare one.
void Window::Subclass()
{
    if (Subclassed || !Handle)
        return;
    WNDPROC original = FindOriginal(Handle);
    // a handle subclassed and released before keeps this procedure in its chain (another subclass sat above it)
    const bool chained = original != nullptr;
    if (!chained) {
        original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(Handle, GWLP_WNDPROC));
        AcquireSRWLockExclusive(&OriginalLock);
        OriginalProcedures()[Handle] = original;
        ReleaseSRWLockExclusive(&OriginalLock);
    }
    Subclassed = true;
    DefaultProcedure = original;
    Bind(Handle, this);
    OnSubclassed();
    if (!chained)
        SetWindowLongPtrW(Handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SwappedProcedure));
}

boost::shared_ptr<Window> Window::Wrap(HWND handle)
{
    boost::shared_ptr<Window> window(new Window);
    window->Handle = handle;
    window->OwnsHandle = false;
    return window;
}

// ---------------------------------------------------------------------------------------------------------------
// bindings

void Window::AddStateBinding(Window* target, int32_t kind, int32_t value)
{
    StateBindings.push_back(StateBinding{target, kind, value});
}

void Window::UpdateBindings()
{
    for (const StateBinding& binding : StateBindings)
        ApplyBinding(binding.Target, binding.Kind, binding.Value);
}

void Window::AddMenuBinding(MenuItem* item, ToolBar* bar, Window* target, int32_t kind)
{
    if (!item)
        return;
    const MenuBinding binding = {item, bar, target, kind};
    MenuBindings.insert(std::make_pair(static_cast<uint16_t>(item->GetCommand()), binding));
    const bool checked = item->IsChecked();
    if (bar) {
        if (ToolBarButton* button = bar->FindButton(static_cast<int>(item->GetCommand())))
            button->SetChecked(checked);
    }
    ApplyMenuBinding(binding, checked);
}

void Window::RunMenuBindings(uint16_t command, LPARAM lParam)
{
    const auto range = MenuBindings.equal_range(command);
    if (range.first == range.second)
        return;
    const MenuBinding& first = range.first->second;
    const bool checked = !first.Item->IsChecked();
    first.Item->SetChecked(checked);
    // a toolbar button toggles itself; only a menu or accelerator command (lParam 0) has to move it
    if (lParam == 0 && first.Bar) {
        if (ToolBarButton* button = first.Bar->FindButton(command))
            button->SetChecked(checked);
    }
    // a binding may change the tree (a hidden window's parent lays out again), so work on a copy
    std::vector<MenuBinding> bindings;
    for (auto it = range.first; it != range.second; ++it)
        bindings.push_back(it->second);
    for (const MenuBinding& binding : bindings)
        ApplyMenuBinding(binding, checked);
}

void Window::SetMenu(const boost::shared_ptr<Menu>& menu)
{
    ::SetMenu(Handle, menu ? menu->GetHandle() : nullptr);
    if (menu)
        menu->SetOwnerWindow(this);
}

namespace {

void RelayoutParent(HWND child)
{
    HWND parent = GetParent(child);
    if (!parent)
        return;
    RECT client;
    GetClientRect(parent, &client);
    SendMessageW(parent, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
}

void ShowRebarBand(HWND child, bool show)
{
    HWND rebar = GetParent(child);
    wchar_t className[32] = {};
    if (!rebar || !GetClassNameW(rebar, className, 32) || lstrcmpiW(className, REBARCLASSNAMEW) != 0)
        return;
    const int count = static_cast<int>(SendMessageW(rebar, RB_GETBANDCOUNT, 0, 0));
    for (int index = 0; index < count; ++index) {
        REBARBANDINFOW band = {};
        band.cbSize = sizeof band;
        band.fMask = RBBIM_CHILD;
        if (SendMessageW(rebar, RB_GETBANDINFOW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&band)) &&
            band.hwndChild == child) {
            SendMessageW(rebar, RB_SHOWBAND, static_cast<WPARAM>(index), show ? TRUE : FALSE);
            return;
        }
    }
}

} // namespace

void ApplyMenuBinding(const MenuBinding& binding, bool checked)
{
    Window* target = binding.Target;
    if (!target || !target->Handle)
        return;
    switch (binding.Kind) {
    case BindEnable:
        EnableWindow(target->Handle, checked);
        break;
    case BindDisable:
        EnableWindow(target->Handle, !checked);
        break;
    case BindShow:
    case BindHide: {
        const bool show = binding.Kind == BindShow ? checked : !checked;
        ShowWindow(target->Handle, show ? SW_SHOW : SW_HIDE);
        RelayoutParent(target->Handle);
        break;
    }
    case BindTopMost:
        SetWindowPos(target->Handle, checked ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE);
        target->TopMost = checked;
        break;
    case BindRebarBand:
        ShowRebarBand(target->Handle, checked);
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------------------------------------------------------
// text, shell and geometry

void Window::SetText(const std::wstring& text)
{
    SetWindowTextW(Handle, text.c_str());
}

std::wstring Window::GetText() const
{
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(Handle)) + 1, L'\0');
    const int copied = GetWindowTextW(Handle, &text[0], static_cast<int>(text.size()));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

bool Window::ShellOpen(const std::wstring& file, const std::wstring& parameters, const std::wstring& directory)
{
    HINSTANCE result = ShellExecuteW(Handle, nullptr, file.c_str(), parameters.empty() ? nullptr : parameters.c_str(),
                                     directory.empty() ? nullptr : directory.c_str(), SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

void Window::CenterOver(const Window* reference)
{
    if (!reference)
        reference = Parent;
    if (!reference || !reference->Handle || !Handle)
        return;
    RECT outer, own;
    GetWindowRect(reference->Handle, &outer);
    GetWindowRect(Handle, &own);
    const int width = own.right - own.left;
    const int height = own.bottom - own.top;
    const int left = outer.left + ((outer.right - outer.left) - width) / 2;
    const int top = outer.top + ((outer.bottom - outer.top) - height) / 2;
    MoveWindow(Handle, left, top, width, height, FALSE);
}

RECT Window::GetMenuBarRect(const Window* window)
{
    RECT rect = {};
    if (!window || !window->Handle)
        return rect;
    RECT frame, client;
    GetWindowRect(window->Handle, &frame);
    GetClientRect(window->Handle, &client);
    POINT origin = {0, 0};
    ClientToScreen(window->Handle, &origin);
    const LONG_PTR style = GetWindowLongPtrW(window->Handle, GWL_STYLE);
    const LONG_PTR exStyle = GetWindowLongPtrW(window->Handle, GWL_EXSTYLE);
    rect.left = origin.x;
    rect.right = origin.x + client.right;
    rect.top = frame.top + GetSystemMetrics((exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION) +
               GetSystemMetrics((style & WS_THICKFRAME) ? SM_CYFRAME : SM_CYDLGFRAME);
    rect.bottom = origin.y;
    return rect;
}

// ---------------------------------------------------------------------------------------------------------------
// message box and loops

namespace {

// one message box at a time: the hook of the box being shown and the wrapper of the box once it is activated
HHOOK MessageBoxHook = nullptr;
boost::shared_ptr<Window> HeldMessageBox;

LRESULT CALLBACK CenterMessageBoxHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && !HeldMessageBox) {
        try {
            HeldMessageBox = Window::Wrap(reinterpret_cast<HWND>(wParam));
            boost::shared_ptr<Window> owner = Window::Wrap(GetParent(HeldMessageBox->Handle));
            if (owner->Handle)
                HeldMessageBox->CenterOver(owner.get());
        } catch (...) {
            // a box that cannot be centred is still shown
        }
    }
    return CallNextHookEx(MessageBoxHook, code, wParam, lParam);
}

} // namespace

int ShowMessageBox(const std::wstring& caption, const std::wstring& text, const Window* owner, UINT type)
{
    // a box opened while another one is up (from its owner's timer, say) keeps the outer box's hook state intact
    HHOOK outerHook = MessageBoxHook;
    boost::shared_ptr<Window> outerBox = HeldMessageBox;
    HeldMessageBox.reset();
    MessageBoxHook = SetWindowsHookExW(WH_CBT, CenterMessageBoxHook, nullptr, GetCurrentThreadId());
    const int result = MessageBoxW(owner ? owner->Handle : nullptr, text.c_str(), caption.c_str(), type);
    if (MessageBoxHook)
        UnhookWindowsHookEx(MessageBoxHook);
    MessageBoxHook = outerHook;
    HeldMessageBox = outerBox;
    return result;
}

bool OfferToDialogs(MSG& message)
{
    for (Dialog* dialog : Dialog::Registry()) {
        // a dialog that takes the message may destroy itself, so the walk stops at once
        if (dialog->Handle && IsDialogMessageW(dialog->Handle, &message))
            return true;
    }
    return false;
}

void RunMessageLoop()
{
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!OfferToDialogs(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

bool WaitServingSentMessages(HANDLE handle, DWORD timeoutMs)
{
    // a slice short enough that a handle signalled meanwhile is seen soon even when no message comes
    const DWORD slice = 10;
    const ULONGLONG start = GetTickCount64();
    const DWORD count = handle ? 1 : 0;
    for (;;) {
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        const ULONGLONG elapsed = GetTickCount64() - start;
        if (timeoutMs != INFINITE && elapsed >= timeoutMs)
            return handle && WaitForSingleObject(handle, 0) == WAIT_OBJECT_0;
        DWORD wait = slice;
        if (timeoutMs != INFINITE)
            wait = static_cast<DWORD>(std::min<ULONGLONG>(wait, timeoutMs - elapsed));
        const DWORD result = MsgWaitForMultipleObjectsEx(count, count ? &handle : nullptr, wait, QS_SENDMESSAGE, 0);
        if (count && result == WAIT_OBJECT_0)
            return true;
        if (result == WAIT_FAILED)
            return false;
    }
}

void ServeSentMessagesUntil(const std::function<bool()>& done)
{
    while (!done())
        WaitServingSentMessages(nullptr, 1);
}

void PumpMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // leave the quit message for the main loop
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

} // namespace kit
