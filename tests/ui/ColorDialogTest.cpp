// kit::ColorDialog: the added default button and swatch, answered as a user would.
#include <gtest/gtest.h>

#include <windows.h>

#include "kit/ui/Button.h"
#include "kit/ui/ColorDialog.h"
#include "kit/ui/StaticText.h"
#include "tests/harness/Harness.h"

namespace {

RECT ClientRectIn(HWND control, HWND dialog)
{
    RECT rect = harness::WindowRect(control);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

} // namespace

TEST(ColorDialog, DefaultButton_putsDefaultColourIntoFieldsAndOkReturnsIt)
{
    harness::HostWindow host;
    const COLORREF defaultColor = RGB(18, 52, 200);
    kit::ColorDialog dialog;
    std::wstring red, green, blue, buttonText, labelText;
    bool customGone = false;
    COLORREF swatchColor = 0;
    RECT ok = {}, cancel = {}, added = {};

    harness::DialogWatcher watcher;
    watcher.Answer([&](HWND handle) {
        HWND button = GetDlgItem(handle, kit::Button::CreatedId);
        if (!button)
            return false;
        buttonText = harness::WindowText(button);
        labelText = dialog.Statics[0] ? dialog.Statics[0]->GetText() : L"";
        customGone = GetDlgItem(handle, kit::ColorDialog::CustomId) == nullptr;
        ok = ClientRectIn(GetDlgItem(handle, IDOK), handle);
        cancel = ClientRectIn(GetDlgItem(handle, IDCANCEL), handle);
        added = ClientRectIn(button, handle);

        harness::Click(button);
        red = harness::ItemText(handle, kit::ColorDialog::RedId);
        green = harness::ItemText(handle, kit::ColorDialog::GreenId);
        blue = harness::ItemText(handle, kit::ColorDialog::BlueId);

        if (dialog.Statics[1]) {
            HDC dc = GetDC(handle);
            HBRUSH brush = reinterpret_cast<HBRUSH>(SendMessageW(handle, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                                 reinterpret_cast<LPARAM>(dialog.Statics[1]->Handle)));
            ReleaseDC(handle, dc);
            LOGBRUSH info = {};
            if (brush && GetObjectW(brush, sizeof info, &info))
                swatchColor = info.lbColor;
        }
        return harness::DialogWatcher::PressButton(handle, IDOK);
    });

    COLORREF color = RGB(1, 2, 3);
    ASSERT_TRUE(dialog.Show(&host, defaultColor, color));
    EXPECT_EQ(defaultColor, color);
    EXPECT_EQ(L"デフォルト", buttonText);
    EXPECT_EQ(L"デフォルトの色", labelText);
    EXPECT_TRUE(customGone);
    EXPECT_EQ(L"18", red);
    EXPECT_EQ(L"52", green);
    EXPECT_EQ(L"200", blue);
    EXPECT_EQ(defaultColor, swatchColor);
    // the added button continues the row of OK and Cancel with the same gap
    EXPECT_EQ(cancel.right + (cancel.left - ok.right), added.left);
    EXPECT_EQ(ok.top, added.top);
    EXPECT_EQ(ok.bottom, added.bottom);
    // the dialog is gone and the object holds no controls of it
    EXPECT_EQ(nullptr, dialog.Handle);
    EXPECT_FALSE(dialog.Buttons[3]);
}

TEST(ColorDialog, Cancel_leavesColourUnchanged)
{
    harness::HostWindow host;
    harness::DialogWatcher watcher;
    watcher.Answer(IDCANCEL);
    kit::ColorDialog dialog;
    COLORREF color = RGB(9, 8, 7);
    EXPECT_FALSE(dialog.Show(&host, RGB(0, 0, 0), color));
    EXPECT_EQ(RGB(9, 8, 7), color);
    EXPECT_EQ(1u, watcher.Seen().size());
}

TEST(ColorDialog, Ok_returnsTheInitialColourUntouched)
{
    harness::HostWindow host;
    harness::DialogWatcher watcher;
    watcher.Answer(IDOK);
    kit::ColorDialog dialog;
    COLORREF color = RGB(100, 150, 250);
    ASSERT_TRUE(dialog.Show(&host, RGB(0, 0, 0), color));
    EXPECT_EQ(RGB(100, 150, 250), color);
}
