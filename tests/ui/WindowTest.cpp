// kit::Window: binding, dispatch, the window tree, reflection, bindings, geometry and the message box.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <stdexcept>
#include <thread>

#include "kit/ui/CheckBox.h"
#include "kit/ui/EditBox.h"
#include "kit/ui/Menu.h"
#include "kit/ui/MenuItem.h"
#include "kit/ui/ToolBar.h"
#include "kit/ui/TrackBar.h"
#include "kit/ui/Window.h"
#include "tests/harness/Harness.h"

namespace {

const wchar_t* const TestClass = L"JuxtaWindowTest";

// records the slots that were called
class Recorder : public kit::Window {
public:
    std::vector<std::string> Calls;
    bool ThrowOnSize = false;
    bool ThrowOnCommand = false;

    LRESULT OnCreate(WPARAM, LPARAM) override
    {
        Calls.push_back("create");
        return 0;
    }
    LRESULT OnSize(WPARAM wParam, LPARAM lParam) override
    {
        Calls.push_back("size " + std::to_string(LOWORD(lParam)) + "x" + std::to_string(HIWORD(lParam)));
        if (ThrowOnSize)
            throw std::runtime_error("size");
        return DefaultProc(WM_SIZE, wParam, lParam);
    }
    LRESULT OnDestroy(WPARAM, LPARAM) override
    {
        Calls.push_back(std::string("destroy owns=") + (OwnsHandle ? "1" : "0"));
        return 0;
    }
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        Calls.push_back("command " + std::to_string(LOWORD(wParam)));
        if (ThrowOnCommand)
            throw std::logic_error("command");
        return Window::OnCommand(wParam, lParam);
    }
    LRESULT OnUser(WPARAM wParam, LPARAM) override { return static_cast<LRESULT>(wParam) + 1; }
};

// a subclassed control that sees its own notifications
class ReflectedButton : public kit::Window {
public:
    std::vector<UINT> Codes;
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        Codes.push_back(HIWORD(wParam));
        Window::OnCommand(wParam, lParam);
        return 77;
    }
    LRESULT OnNotify(WPARAM wParam, LPARAM lParam) override
    {
        Codes.push_back(reinterpret_cast<const NMHDR*>(lParam)->code);
        Window::OnNotify(wParam, lParam);
        return 88;
    }
};

RECT Rect(int left, int top, int width, int height)
{
    return RECT{left, top, left + width, top + height};
}

boost::shared_ptr<Recorder> MakeRecorder(kit::Window* parent, DWORD style)
{
    boost::shared_ptr<Recorder> window(new Recorder);
    if (!window->Create(parent, TestClass, L"recorder", style, 0))
        window.reset();
    return window;
}

} // namespace

TEST(Window, Create_bindsObjectAndDispatchesSlots)
{
    harness::Initialize();
    boost::shared_ptr<Recorder> window = MakeRecorder(nullptr, WS_OVERLAPPEDWINDOW);
    ASSERT_TRUE(window);
    ASSERT_NE(nullptr, window->Handle);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(window.get()), GetWindowLongPtrW(window->Handle, GWLP_USERDATA));
    EXPECT_EQ(window.get(), kit::Window::FromHandle(window->Handle));
    ASSERT_FALSE(window->Calls.empty());
    EXPECT_EQ("create", window->Calls.front());

    SetWindowPos(window->Handle, nullptr, 0, 0, 300, 200, SWP_NOZORDER | SWP_NOMOVE);
    RECT client;
    GetClientRect(window->Handle, &client);
    EXPECT_EQ("size " + std::to_string(client.right) + "x" + std::to_string(client.bottom), window->Calls.back());
    EXPECT_EQ(6, SendMessageW(window->Handle, WM_USER, 5, 0));

    HWND handle = window->Handle;
    window.reset();
    EXPECT_FALSE(IsWindow(handle));
}

TEST(Window, Create_failsWithoutAClass)
{
    harness::Initialize();
    // a class name that cannot be registered (empty) gives no handle and so no object
    Recorder window;
    EXPECT_FALSE(window.Create(nullptr, L"", L"", WS_OVERLAPPED, 0));
    EXPECT_EQ(nullptr, window.Handle);
}

TEST(Window, Destroy_clearsOwnsHandleAndDetachesTree)
{
    harness::Initialize();
    boost::shared_ptr<Recorder> parent = MakeRecorder(nullptr, WS_OVERLAPPEDWINDOW);
    ASSERT_TRUE(parent);
    boost::shared_ptr<Recorder> first = MakeRecorder(parent.get(), WS_CHILD);
    boost::shared_ptr<Recorder> second = MakeRecorder(parent.get(), WS_CHILD);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(parent.get(), first->Parent);
    EXPECT_EQ(2u, parent->Children.size());

    // a child destroyed alone leaves its parent's set
    DestroyWindow(first->Handle);
    EXPECT_EQ("destroy owns=0", first->Calls.back());
    EXPECT_EQ(nullptr, first->Parent);
    EXPECT_EQ(nullptr, first->Handle);
    EXPECT_EQ(1u, parent->Children.count(second.get()));
    EXPECT_EQ(0u, parent->Children.count(first.get()));

    // a parent destroyed first leaves its children without a parent
    DestroyWindow(parent->Handle);
    EXPECT_EQ(nullptr, second->Parent);
    EXPECT_TRUE(parent->Children.empty());
    EXPECT_FALSE(second->OwnsHandle);
}

TEST(Window, Destroy_objectGoneFirstLeavesNoDanglingBinding)
{
    harness::Initialize();
    boost::shared_ptr<Recorder> parent = MakeRecorder(nullptr, WS_OVERLAPPEDWINDOW);
    ASSERT_TRUE(parent);
    boost::shared_ptr<kit::Window> attached(new kit::Window);
    HWND button = CreateWindowExW(0, L"BUTTON", L"b", WS_CHILD | BS_PUSHBUTTON, 0, 0, 10, 10, parent->Handle,
                                  reinterpret_cast<HMENU>(7), GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(attached->Attach(parent.get(), 7));
    EXPECT_FALSE(attached->OwnsHandle);
    attached.reset();
    // the control stays (not owned) and carries no pointer to the released object
    EXPECT_TRUE(IsWindow(button));
    EXPECT_EQ(0, GetWindowLongPtrW(button, GWLP_USERDATA));
    EXPECT_EQ(nullptr, kit::Window::FromHandle(button));
    EXPECT_EQ(0, harness::SendControlCommand(parent->Handle, button, BN_CLICKED));
}

TEST(Window, Attach_failsForMissingItem)
{
    harness::HostWindow host;
    kit::Window item;
    EXPECT_FALSE(item.Attach(&host, 4242));
    EXPECT_EQ(nullptr, item.Parent);
    EXPECT_TRUE(host.Children.empty());
}

TEST(Window, Reflection_commandAndNotifyReachTheSubclassedControl)
{
    harness::HostWindow host;
    boost::shared_ptr<ReflectedButton> button(new ReflectedButton);
    ASSERT_TRUE(button->CreateControl(&host, L"BUTTON", L"push", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0,
                                      Rect(10, 10, 80, 24), 21));
    button->Subclass();
    EXPECT_TRUE(button->Subclassed);

    harness::Click(button->Handle);
    ASSERT_EQ(1u, host.CountCommands(21));
    EXPECT_EQ(77, host.Received.back().Result);
    ASSERT_EQ(1u, button->Codes.size());
    EXPECT_EQ(static_cast<UINT>(BN_CLICKED), button->Codes[0]);

    NMHDR header = {button->Handle, 21, NM_CLICK};
    EXPECT_EQ(88, SendMessageW(host.Handle, WM_NOTIFY, 21, reinterpret_cast<LPARAM>(&header)));
    EXPECT_EQ(static_cast<UINT>(NM_CLICK), button->Codes.back());

    const size_t before = button->Codes.size();
    EXPECT_EQ(77, harness::SendControlCommand(host.Handle, button->Handle, BN_SETFOCUS));
    EXPECT_EQ(before + 1, button->Codes.size());

    // a window that receives its own notification answers 0 instead of passing it on again
    boost::shared_ptr<Recorder> control(new Recorder);
    ASSERT_TRUE(control->CreateControl(&host, L"BUTTON", L"own", WS_CHILD, 0, Rect(0, 40, 10, 10), 22));
    control->Subclass();
    EXPECT_EQ(0, SendMessageW(control->Handle, WM_COMMAND, MAKEWPARAM(22, BN_CLICKED),
                              reinterpret_cast<LPARAM>(control->Handle)));
    EXPECT_EQ("command 22", control->Calls.back());
}

TEST(Window, Reflection_notForControlsWithoutSubclass)
{
    harness::HostWindow host;
    // an attached but not subclassed item, and a control with no object at all
    CreateWindowExW(0, L"BUTTON", L"a", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, host.Handle,
                    reinterpret_cast<HMENU>(31), GetModuleHandleW(nullptr), nullptr);
    HWND bare = CreateWindowExW(0, L"BUTTON", L"b", WS_CHILD | WS_VISIBLE, 60, 0, 50, 20, host.Handle,
                                reinterpret_cast<HMENU>(32), GetModuleHandleW(nullptr), nullptr);
    boost::shared_ptr<ReflectedButton> attached(new ReflectedButton);
    ASSERT_TRUE(attached->Attach(&host, 31));
    EXPECT_TRUE(attached->Attached);

    harness::Click(attached->Handle);
    harness::Click(bare);
    EXPECT_TRUE(attached->Codes.empty());
    EXPECT_EQ(1u, host.CountCommands(31));
    EXPECT_EQ(1u, host.CountCommands(32));
}

TEST(Window, Exceptions_neverLeaveAProcedure)
{
    harness::HostWindow host;
    boost::shared_ptr<Recorder> window = MakeRecorder(&host, WS_CHILD | WS_VISIBLE);
    ASSERT_TRUE(window);
    window->ThrowOnSize = true;
    window->ThrowOnCommand = true;
    EXPECT_EQ(0, SendMessageW(window->Handle, WM_SIZE, 0, MAKELPARAM(10, 10)));
    EXPECT_EQ(0, harness::SendCommand(window->Handle, 5));
    EXPECT_EQ("command 5", window->Calls.back());

    // the same through a subclass procedure
    boost::shared_ptr<Recorder> control(new Recorder);
    ASSERT_TRUE(control->CreateControl(&host, L"STATIC", L"s", WS_CHILD, 0, Rect(0, 0, 10, 10), 3));
    control->Subclass();
    control->ThrowOnCommand = true;
    EXPECT_EQ(0, harness::SendCommand(control->Handle, 9));
    EXPECT_EQ("command 9", control->Calls.back());
    // and the window still works afterwards
    EXPECT_EQ(2, SendMessageW(control->Handle, WM_USER, 1, 0));
}

TEST(Window, Subclass_routesMessagesOnceAndRestoresOnRelease)
{
    harness::HostWindow host;
    boost::shared_ptr<Recorder> control(new Recorder);
    ASSERT_TRUE(control->CreateControl(&host, L"STATIC", L"text", WS_CHILD, 0, Rect(0, 0, 10, 10), 3));
    HWND handle = control->Handle;
    EXPECT_NE(11, SendMessageW(handle, WM_USER, 10, 0));
    control->Subclass();
    control->Subclass();
    EXPECT_EQ(11, SendMessageW(handle, WM_USER, 10, 0));
    // default processing still reaches the control's own procedure
    EXPECT_EQ(L"text", control->GetText());
    control->OwnsHandle = false;
    control.reset();
    EXPECT_TRUE(IsWindow(handle));
    EXPECT_NE(11, SendMessageW(handle, WM_USER, 10, 0));
}

namespace {

// a subclass of the common controls' kind, put above the toolkit's: counts WM_USER and adds 100 to its answer
LRESULT CALLBACK OuterSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data)
{
    const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    if (message != WM_USER)
        return result;
    ++*reinterpret_cast<int*>(data);
    return result + 100;
}

} // namespace

TEST(Window, Subclass_underALaterSubclass_staysInTheChainAfterRelease)
{
    harness::HostWindow host;
    boost::shared_ptr<Recorder> control(new Recorder);
    ASSERT_TRUE(control->CreateControl(&host, L"EDIT", L"text", WS_CHILD, 0, Rect(0, 0, 50, 20), 3));
    HWND handle = control->Handle;
    control->Subclass();
    int outerCalls = 0;
    ASSERT_TRUE(SetWindowSubclass(handle, OuterSubclass, 5, reinterpret_cast<DWORD_PTR>(&outerCalls)));
    EXPECT_EQ(111, SendMessageW(handle, WM_USER, 10, 0));
    EXPECT_EQ(1, outerCalls);

    // released under the later subclass: that one keeps working, the control answers as its own class again
    control->OwnsHandle = false;
    control.reset();
    const LRESULT plain = SendMessageW(handle, WM_USER, 10, 0);
    EXPECT_NE(111, plain);
    EXPECT_EQ(2, outerCalls);
    EXPECT_EQ(L"text", harness::WindowText(handle));
    SetWindowTextW(handle, L"changed");
    EXPECT_EQ(L"changed", harness::WindowText(handle));

    // a new object on the same handle routes through the procedure still in the chain
    boost::shared_ptr<Recorder> again(new Recorder);
    again->Handle = handle;
    again->Subclass();
    EXPECT_EQ(111, SendMessageW(handle, WM_USER, 10, 0));
    EXPECT_EQ(L"changed", again->GetText());
    ASSERT_TRUE(RemoveWindowSubclass(handle, OuterSubclass, 5));
    EXPECT_EQ(11, SendMessageW(handle, WM_USER, 10, 0));
    EXPECT_EQ(3, outerCalls);

    // the handle dies with the object bound: it is forgotten, and a new window is not mistaken for it
    DestroyWindow(handle);
    EXPECT_EQ(nullptr, again->Handle);
    EXPECT_FALSE(again->Subclassed);
}

TEST(Window, Text_roundTripsIncludingEmptyAndLong)
{
    harness::HostWindow host;
    const std::wstring texts[] = {L"", L"ファイル登録中…", std::wstring(5000, L'x')};
    for (const std::wstring& text : texts) {
        host.SetText(text);
        EXPECT_EQ(text, host.GetText());
        EXPECT_EQ(text, harness::WindowText(host.Handle));
    }
}

TEST(Window, CenterOver_usesReferenceElseParent)
{
    harness::HostWindow host(400, 300);
    boost::shared_ptr<Recorder> popup = MakeRecorder(&host, WS_POPUP);
    ASSERT_TRUE(popup);
    SetWindowPos(popup->Handle, nullptr, 0, 0, 101, 51, SWP_NOZORDER);

    popup->CenterOver(nullptr);
    const RECT outer = harness::WindowRect(host.Handle);
    RECT inner = harness::WindowRect(popup->Handle);
    EXPECT_EQ(outer.left + (400 - 101) / 2, inner.left);
    EXPECT_EQ(outer.top + (300 - 51) / 2, inner.top);
    EXPECT_EQ(101, inner.right - inner.left);

    harness::HostWindow other(200, 200);
    SetWindowPos(other.Handle, nullptr, 500, 400, 200, 200, SWP_NOZORDER);
    popup->CenterOver(&other);
    inner = harness::WindowRect(popup->Handle);
    EXPECT_EQ(500 + (200 - 101) / 2, inner.left);
    EXPECT_EQ(400 + (200 - 51) / 2, inner.top);

    // with neither reference nor parent nothing moves
    boost::shared_ptr<Recorder> lone = MakeRecorder(nullptr, WS_POPUP);
    SetWindowPos(lone->Handle, nullptr, 7, 9, 50, 50, SWP_NOZORDER);
    lone->CenterOver(nullptr);
    EXPECT_EQ(7, harness::WindowRect(lone->Handle).left);
    EXPECT_EQ(9, harness::WindowRect(lone->Handle).top);
}

TEST(Window, GetMenuBarRect_liesBetweenCaptionAndClient)
{
    harness::HostWindow host(400, 300);
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_STRING, 100, L"ファイル");
    SetMenu(host.Handle, bar);
    DrawMenuBar(host.Handle);

    const RECT rect = kit::Window::GetMenuBarRect(&host);
    POINT origin = {0, 0};
    ClientToScreen(host.Handle, &origin);
    RECT client;
    GetClientRect(host.Handle, &client);
    const RECT frame = harness::WindowRect(host.Handle);
    EXPECT_EQ(origin.x, rect.left);
    EXPECT_EQ(origin.x + client.right, rect.right);
    EXPECT_EQ(origin.y, rect.bottom);
    EXPECT_EQ(frame.top + GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME), rect.top);
    EXPECT_LT(rect.top, rect.bottom);
}

TEST(Window, StateBindings_applyInInsertionOrder)
{
    class Holder : public kit::Window {
    public:
        std::vector<int> Applied;
        void ApplyBinding(Window*, int32_t kind, int32_t value) override { Applied.push_back(kind * 10 + value); }
    };
    Holder holder;
    kit::Window a, b;
    holder.AddStateBinding(&a, 2, 1);
    holder.AddStateBinding(&b, 1, 0);
    holder.AddStateBinding(&a, 5, 3);
    holder.UpdateBindings();
    EXPECT_EQ((std::vector<int>{21, 10, 53}), holder.Applied);
}

TEST(Window, StateBindings_followCheckBoxEditBoxAndTrackBar)
{
    harness::HostWindow host;
    boost::shared_ptr<kit::CheckBox> box = kit::CheckBox::Create(&host, L"check", Rect(10, 10, 100, 20), 40);
    boost::shared_ptr<kit::EditBox> edit = kit::EditBox::Create(&host, L"", Rect(10, 40, 100, 20), 41);
    boost::shared_ptr<kit::TrackBar> bar = kit::TrackBar::Create(&host, 0, Rect(10, 70, 150, 30), 42);
    ASSERT_TRUE(box && edit && bar);
    HWND enabledWhenChecked = CreateWindowExW(0, L"BUTTON", L"x", WS_CHILD | WS_VISIBLE, 200, 10, 40, 20,
                                              host.Handle, nullptr, GetModuleHandleW(nullptr), nullptr);
    HWND enabledWhenText = CreateWindowExW(0, L"BUTTON", L"y", WS_CHILD | WS_VISIBLE, 200, 40, 40, 20, host.Handle,
                                           nullptr, GetModuleHandleW(nullptr), nullptr);
    HWND position = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 200, 70, 40, 20, host.Handle,
                                    nullptr, GetModuleHandleW(nullptr), nullptr);
    boost::shared_ptr<kit::Window> first = kit::Window::Wrap(enabledWhenChecked);
    boost::shared_ptr<kit::Window> second = kit::Window::Wrap(enabledWhenText);
    boost::shared_ptr<kit::Window> third = kit::Window::Wrap(position);

    box->AddBinding(first.get(), kit::BindEnable, BST_CHECKED);
    EXPECT_FALSE(harness::IsEnabled(enabledWhenChecked));
    harness::Click(box->Handle);
    EXPECT_TRUE(harness::IsChecked(box->Handle));
    EXPECT_TRUE(harness::IsEnabled(enabledWhenChecked));
    harness::Click(box->Handle);
    EXPECT_FALSE(harness::IsEnabled(enabledWhenChecked));

    edit->AddBinding(second.get(), kit::BindEnable);
    EXPECT_FALSE(harness::IsEnabled(enabledWhenText));
    harness::TypeText(edit->Handle, L"a");
    EXPECT_TRUE(harness::IsEnabled(enabledWhenText));
    SendMessageW(edit->Handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    EXPECT_FALSE(harness::IsEnabled(enabledWhenText));

    bar->SetRange(0, 20);
    bar->AddBinding(third.get(), kit::BindPositionText);
    SendMessageW(bar->Handle, TBM_SETPOS, TRUE, 13);
    UpdateWindow(bar->Handle);
    harness::PumpUntil([&] { return harness::WindowText(position) == L"13"; }, 2000);
    EXPECT_EQ(L"13", harness::WindowText(position));
}

namespace {

// a window with a menu bar holding one check item, a toolbar with a check button of the same command, and a
// child that the bindings act on
struct MenuFixture {
    static const int Command = 500;
    harness::HostWindow Host;
    boost::shared_ptr<kit::Menu> Bar;
    boost::shared_ptr<kit::ToolBar> Tools;
    kit::MenuItem* Item = nullptr;
    boost::shared_ptr<Recorder> Target;

    MenuFixture()
    {
        HMENU menu = CreateMenu();
        HMENU popup = CreatePopupMenu();
        AppendMenuW(popup, MF_STRING | MF_CHECKED, Command, L"表示");
        AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), L"View");
        Bar = kit::Menu::Adopt(menu);
        Host.SetMenu(Bar);
        Item = Bar->FindItem(Command);
        Tools = kit::ToolBar::Create(&Host, TBSTYLE_FLAT, 0, nullptr, 16, 16);
        if (Tools) {
            Tools->AddButton(0, Command, BTNS_CHECK);
            ShowWindow(Tools->Handle, SW_SHOW);
        }
        Target = MakeRecorder(&Host, WS_CHILD | WS_VISIBLE);
    }
};

} // namespace

TEST(Window, MenuBinding_menuCommandTogglesItemAndToolbarButton)
{
    MenuFixture f;
    ASSERT_TRUE(f.Item && f.Tools && f.Target);
    f.Host.AddMenuBinding(f.Item, f.Tools.get(), f.Target.get(), kit::BindEnable);
    // the button takes the item's state and the binding applies at once
    EXPECT_TRUE(harness::IsToolbarButtonChecked(f.Tools->Handle, MenuFixture::Command));
    EXPECT_TRUE(harness::IsEnabled(f.Target->Handle));

    harness::SendCommand(f.Host.Handle, MenuFixture::Command);
    EXPECT_FALSE(harness::IsMenuItemChecked(GetMenu(f.Host.Handle), MenuFixture::Command));
    EXPECT_FALSE(harness::IsToolbarButtonChecked(f.Tools->Handle, MenuFixture::Command));
    EXPECT_FALSE(harness::IsEnabled(f.Target->Handle));
    EXPECT_EQ(1u, f.Host.CountCommands(MenuFixture::Command));

    // from the toolbar: the button toggles itself, the menu mark follows and the button is not toggled twice
    harness::ClickToolbarButton(f.Tools->Handle, MenuFixture::Command);
    EXPECT_TRUE(harness::IsMenuItemChecked(GetMenu(f.Host.Handle), MenuFixture::Command));
    EXPECT_TRUE(harness::IsToolbarButtonChecked(f.Tools->Handle, MenuFixture::Command));
    EXPECT_TRUE(harness::IsEnabled(f.Target->Handle));
}

TEST(Window, MenuBinding_kindsActOnTheTarget)
{
    MenuFixture f;
    ASSERT_TRUE(f.Item && f.Target);
    // the item starts checked; each command unchecks, then checks again
    f.Host.AddMenuBinding(f.Item, nullptr, f.Target.get(), kit::BindDisable);
    EXPECT_FALSE(harness::IsEnabled(f.Target->Handle));
    harness::SendCommand(f.Host.Handle, MenuFixture::Command);
    EXPECT_TRUE(harness::IsEnabled(f.Target->Handle));
    f.Host.MenuBindings.clear();

    // show: the parent is laid out again with its client size
    f.Target->Calls.clear();
    f.Host.AddMenuBinding(f.Item, nullptr, f.Target.get(), kit::BindShow);
    EXPECT_FALSE(harness::IsVisible(f.Target->Handle));
    harness::SendCommand(f.Host.Handle, MenuFixture::Command);
    EXPECT_TRUE(harness::IsVisible(f.Target->Handle));
    f.Host.MenuBindings.clear();

    f.Host.AddMenuBinding(f.Item, nullptr, f.Target.get(), kit::BindHide);
    EXPECT_FALSE(harness::IsVisible(f.Target->Handle));
    f.Host.MenuBindings.clear();

    // (a top-level window of its own: Wine does not raise a window whose toolbar tooltip is already top-most)
    boost::shared_ptr<Recorder> other = MakeRecorder(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    f.Host.AddMenuBinding(f.Item, nullptr, other.get(), kit::BindTopMost);
    EXPECT_TRUE(other->TopMost);
    EXPECT_TRUE(GetWindowLongPtrW(other->Handle, GWL_EXSTYLE) & WS_EX_TOPMOST);
    harness::SendCommand(f.Host.Handle, MenuFixture::Command);
    EXPECT_FALSE(other->TopMost);
    EXPECT_FALSE(GetWindowLongPtrW(other->Handle, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST(Window, MenuBinding_showSendsParentItsClientSize)
{
    class SizeCounter : public harness::HostWindow {
    public:
        std::vector<LPARAM> Sizes;
        LRESULT OnSize(WPARAM wParam, LPARAM lParam) override
        {
            Sizes.push_back(lParam);
            return Window::OnSize(wParam, lParam);
        }
    };
    SizeCounter host;
    HMENU popup = CreatePopupMenu();
    AppendMenuW(popup, MF_STRING, 600, L"x");
    boost::shared_ptr<kit::Menu> menu = kit::Menu::Adopt(popup);
    boost::shared_ptr<Recorder> target = MakeRecorder(&host, WS_CHILD);
    ASSERT_TRUE(menu && target);
    host.Sizes.clear();
    host.AddMenuBinding(menu->FindItem(600), nullptr, target.get(), kit::BindShow);
    harness::SendCommand(host.Handle, 600);
    RECT client;
    GetClientRect(host.Handle, &client);
    ASSERT_FALSE(host.Sizes.empty());
    EXPECT_EQ(MAKELPARAM(client.right, client.bottom), host.Sizes.back());
}

TEST(Window, ShowMessageBox_centresOnOwnerAndReturnsTheAnswer)
{
    harness::HostWindow owner(700, 500);
    SetWindowPos(owner.Handle, nullptr, 150, 120, 700, 500, SWP_NOZORDER);
    harness::DialogWatcher watcher;
    watcher.Answer(IDNO);
    const int result = kit::ShowMessageBox(L"", L"ファイルが見つかりません。", &owner, MB_YESNO | MB_ICONERROR);
    EXPECT_EQ(IDNO, result);
    ASSERT_EQ(1u, watcher.Seen().size());
    const harness::SeenDialog& box = watcher.Seen()[0];
    EXPECT_EQ(L"ファイルが見つかりません。", box.Text);
    EXPECT_EQ(owner.Handle, box.Owner);
    const POINT boxCentre = harness::Centre(box.Rect);
    const POINT ownerCentre = harness::Centre(harness::WindowRect(owner.Handle));
    EXPECT_NEAR(ownerCentre.x, boxCentre.x, 1);
    EXPECT_NEAR(ownerCentre.y, boxCentre.y, 1);

    // a second box is centred as well (the hook was released and installed again)
    SetWindowPos(owner.Handle, nullptr, 300, 200, 700, 500, SWP_NOZORDER);
    watcher.Answer(IDOK);
    EXPECT_EQ(IDOK, kit::ShowMessageBox(L"", L"完了", &owner, MB_OK | MB_ICONINFORMATION));
    ASSERT_EQ(2u, watcher.Seen().size());
    EXPECT_NEAR(harness::Centre(harness::WindowRect(owner.Handle)).x, harness::Centre(watcher.Seen()[1].Rect).x, 1);
}

TEST(Window, PumpMessages_keepsTheQuitMessageForTheLoop)
{
    harness::Initialize();
    PostQuitMessage(3);
    kit::PumpMessages();
    MSG message;
    ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(3u, message.wParam);
}

TEST(Window, RunMessageLoop_endsAtQuitAfterDispatching)
{
    harness::HostWindow host;
    PostMessageW(host.Handle, WM_COMMAND, MAKEWPARAM(700, 0), 0);
    PostQuitMessage(0);
    kit::RunMessageLoop();
    EXPECT_EQ(1u, host.CountCommands(700));
}

// a thread that sends to this one while it waits is answered; what was posted stays for later
TEST(Window, WaitServingSentMessages_answersSendsAndLeavesPostsQueued)
{
    harness::HostWindow host;
    PostMessageW(host.Handle, WM_COMMAND, MAKEWPARAM(701, 0), 0);
    std::atomic<bool> answered{false};
    HANDLE sent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread sender([&] {
        answered = SendMessageW(host.Handle, WM_COMMAND, MAKEWPARAM(702, 0), 0) >= 0;
        SetEvent(sent);
    });
    EXPECT_TRUE(kit::WaitServingSentMessages(sent, 10000));
    kit::ServeSentMessagesUntil([&] { return answered.load(); });
    sender.join();
    CloseHandle(sent);
    EXPECT_EQ(1u, host.CountCommands(702));
    EXPECT_EQ(0u, host.CountCommands(701));
    // a wait with nothing to wait for ends at its timeout
    EXPECT_FALSE(kit::WaitServingSentMessages(nullptr, 5));
    kit::PumpMessages();
    EXPECT_EQ(1u, host.CountCommands(701));
}
