#include "kit/ui/TrackBar.h"

#include <commctrl.h>
#include <string>

namespace kit {

boost::shared_ptr<TrackBar> TrackBar::Attach(Window* dialog, int controlId)
{
    boost::shared_ptr<TrackBar> bar(new TrackBar);
    if (!bar->AttachAndSubclass(dialog, controlId))
        return boost::shared_ptr<TrackBar>();
    return bar;
}

boost::shared_ptr<TrackBar> TrackBar::Create(Window* parent, DWORD style, const RECT& rect, int controlId)
{
    boost::shared_ptr<TrackBar> bar(new TrackBar);
    if (!bar->CreateControl(parent, TRACKBAR_CLASSW, std::wstring(),
                            style | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, 0, rect, controlId))
        return boost::shared_ptr<TrackBar>();
    bar->Subclass();
    return bar;
}

int TrackBar::GetPosition() const
{
    return static_cast<int>(SendMessageW(Handle, TBM_GETPOS, 0, 0));
}

void TrackBar::SetPosition(int position)
{
    SendMessageW(Handle, TBM_SETPOS, TRUE, position);
}

void TrackBar::SetRange(int minimum, int maximum)
{
    SendMessageW(Handle, TBM_SETRANGEMIN, FALSE, minimum);
    SendMessageW(Handle, TBM_SETRANGEMAX, TRUE, maximum);
}

void TrackBar::AddBinding(Window* target, int32_t kind)
{
    AddStateBinding(target, kind, 0);
    ApplyBinding(target, kind, 0);
}

void TrackBar::ApplyBinding(Window* target, int32_t kind, int32_t)
{
    if (kind != BindPositionText || !target || !target->Handle)
        return;
    const std::wstring text = std::to_wstring(GetPosition());
    // rewriting an unchanged text would repaint the target on every paint of the bar
    if (target->GetText() != text)
        target->SetText(text);
}

LRESULT TrackBar::OnPaint(WPARAM wParam, LPARAM lParam)
{
    LRESULT result = DefaultProc(WM_PAINT, wParam, lParam);
    UpdateBindings();
    return result;
}

} // namespace kit
