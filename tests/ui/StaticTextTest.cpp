// kit::StaticText with a fill (a colour swatch) or a picture fitted into it, and kit::Image drawing.
#include "kit/ui/StaticText.h"

#include "kit/ui/Brush.h"
#include "kit/ui/Image.h"
#include "tests/harness/Harness.h"

#include <gtest/gtest.h>

namespace {

COLORREF PixelOf(HWND window, int x, int y)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    harness::PumpPending();
    HDC dc = GetDC(window);
    const COLORREF pixel = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return pixel;
}

// a bitmap of width x height in one colour
HBITMAP SolidBitmap(int width, int height, COLORREF color)
{
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    HBRUSH brush = CreateSolidBrush(color);
    RECT all = {0, 0, width, height};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

TEST(StaticTextTest, FitInto_keepsTheAspectRatioCentred)
{
    const RECT area = {0, 0, 200, 100};
    RECT fitted = kit::StaticText::FitInto(area, 50, 50);
    EXPECT_EQ(50, fitted.left);
    EXPECT_EQ(150, fitted.right);
    EXPECT_EQ(0, fitted.top);
    EXPECT_EQ(100, fitted.bottom);
    fitted = kit::StaticText::FitInto(area, 400, 100);
    EXPECT_EQ(0, fitted.left);
    EXPECT_EQ(200, fitted.right);
    EXPECT_EQ(25, fitted.top);
    EXPECT_EQ(75, fitted.bottom);
    fitted = kit::StaticText::FitInto(area, 0, 10);
    EXPECT_EQ(200, fitted.right) << "an empty picture leaves the area";
}

TEST(StaticTextTest, Fill_paintsASwatch)
{
    harness::HostWindow host;
    boost::shared_ptr<kit::StaticText> swatch =
        kit::StaticText::Create(&host, L"", SS_SUNKEN, RECT{10, 10, 60, 40}, WS_EX_STATICEDGE);
    ASSERT_TRUE(swatch);
    EXPECT_FALSE(swatch->Subclassed);
    swatch->SetFill(kit::Brush::Create(RGB(0, 255, 255)));
    EXPECT_TRUE(swatch->Subclassed);
    EXPECT_EQ(RGB(0, 255, 255), PixelOf(swatch->Handle, 10, 10));
    swatch->SetFill(kit::Brush::Create(RGB(255, 0, 255)));
    EXPECT_EQ(RGB(255, 0, 255), PixelOf(swatch->Handle, 10, 10));
}

TEST(StaticTextTest, Picture_drawnFittedIntoTheControl)
{
    harness::HostWindow host;
    boost::shared_ptr<kit::StaticText> label = kit::StaticText::Create(&host, L"", 0, RECT{10, 10, 210, 110});
    boost::shared_ptr<kit::Image> image = kit::Image::FromBitmap(SolidBitmap(20, 20, RGB(0, 0, 255)));
    ASSERT_TRUE(label && image);
    EXPECT_EQ(20, image->GetWidth());
    EXPECT_EQ(20, image->GetHeight());
    label->SetPicture(image);
    // a square picture in a 200 x 100 control: x 50..150, full height
    EXPECT_EQ(RGB(0, 0, 255), PixelOf(label->Handle, 100, 50));
    EXPECT_EQ(RGB(0, 0, 255), PixelOf(label->Handle, 52, 2));
    EXPECT_NE(RGB(0, 0, 255), PixelOf(label->Handle, 20, 50));
}

TEST(StaticTextTest, Text_drawnByTheControlWithoutPictureOrFill)
{
    harness::HostWindow host;
    boost::shared_ptr<kit::StaticText> hint =
        kit::StaticText::Create(&host, L"ファイル・フォルダをD&Dで登録できます", SS_CENTER | SS_NOPREFIX, RECT{10, 10, 300, 40});
    ASSERT_TRUE(hint);
    EXPECT_EQ(L"ファイル・フォルダをD&Dで登録できます", hint->GetText());
    hint->SetFill(kit::Brush::Create(RGB(255, 0, 0)));
    hint->SetFill(boost::shared_ptr<kit::Brush>());
    EXPECT_NE(RGB(255, 0, 0), PixelOf(hint->Handle, 2, 2)) << "back to the control's own painting";
}

TEST(StaticTextTest, ImageLoad_missingResourceGivesNothing)
{
    EXPECT_FALSE(kit::Image::Load(kit::GetModuleInstance(), 4711, IMAGE_BITMAP, 0, 0));
    EXPECT_FALSE(kit::Image::FromBitmap(nullptr));
}

} // namespace
