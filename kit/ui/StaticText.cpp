#include "kit/ui/StaticText.h"

#include "kit/ui/Brush.h"
#include "kit/ui/ControlUtility.h"
#include "kit/ui/Image.h"

namespace kit {

boost::shared_ptr<StaticText> StaticText::Create(Window* parent, const std::wstring& text, DWORD style,
                                                 const RECT& rect, DWORD exStyle)
{
    boost::shared_ptr<StaticText> label(new StaticText);
    if (!label->CreateControl(parent, L"STATIC", text, style | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, exStyle, rect,
                              0))
        return boost::shared_ptr<StaticText>();
    Bind(label->Handle, label.get());
    SetDefaultFont(label->Handle);
    return label;
}

boost::shared_ptr<StaticText> StaticText::Attach(Window* dialog, int controlId)
{
    boost::shared_ptr<StaticText> label(new StaticText);
    if (!label->Window::Attach(dialog, controlId))
        return boost::shared_ptr<StaticText>();
    return label;
}

void StaticText::SetPicture(const boost::shared_ptr<Image>& picture)
{
    Picture = picture;
    Subclass();
    InvalidateRect(Handle, 0, TRUE);
}

void StaticText::SetFill(const boost::shared_ptr<Brush>& fill)
{
    Fill = fill;
    Subclass();
    InvalidateRect(Handle, 0, TRUE);
}

RECT StaticText::FitInto(const RECT& area, int width, int height)
{
    RECT fitted = area;
    const long long areaWidth = area.right - area.left;
    const long long areaHeight = area.bottom - area.top;
    if (width <= 0 || height <= 0 || areaWidth <= 0 || areaHeight <= 0)
        return fitted;
    // compare the aspect ratios without division: width/height against areaWidth/areaHeight
    if (areaWidth * height <= areaHeight * width) {
        const long long fittedHeight = areaWidth * height / width;
        fitted.top = area.top + static_cast<LONG>((areaHeight - fittedHeight) / 2);
        fitted.bottom = fitted.top + static_cast<LONG>(fittedHeight);
    } else {
        const long long fittedWidth = areaHeight * width / height;
        fitted.left = area.left + static_cast<LONG>((areaWidth - fittedWidth) / 2);
        fitted.right = fitted.left + static_cast<LONG>(fittedWidth);
    }
    return fitted;
}

LRESULT StaticText::OnPaint(WPARAM wParam, LPARAM lParam)
{
    // without a picture or a fill the control draws its own text
    if (!Picture && !Fill)
        return DefaultProc(WM_PAINT, wParam, lParam);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(Handle, &paint);
    RECT client;
    GetClientRect(Handle, &client);
    if (Picture)
        Picture->Draw(dc, FitInto(client, Picture->GetWidth(), Picture->GetHeight()));
    else
        FillRect(dc, &client, Fill->GetHandle());
    EndPaint(Handle, &paint);
    return 0;
}

} // namespace kit
