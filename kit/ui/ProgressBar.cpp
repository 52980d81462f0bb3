#include "kit/ui/ProgressBar.h"

#include <commctrl.h>
#include <string>

namespace kit {

boost::shared_ptr<ProgressBar> ProgressBar::Attach(Window* dialog, int controlId)
{
    boost::shared_ptr<ProgressBar> bar(new ProgressBar);
    if (!bar->Window::Attach(dialog, controlId))
        return boost::shared_ptr<ProgressBar>();
    return bar;
}

boost::shared_ptr<ProgressBar> ProgressBar::Create(Window* parent, DWORD style, const RECT& rect, int controlId)
{
    boost::shared_ptr<ProgressBar> bar(new ProgressBar);
    if (!bar->CreateControl(parent, PROGRESS_CLASSW, std::wstring(), style | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                            0, rect, controlId))
        return boost::shared_ptr<ProgressBar>();
    Bind(bar->Handle, bar.get());
    return bar;
}

void ProgressBar::SetRange(int32_t maximum)
{
    Maximum = maximum;
    SendMessageW(Handle, PBM_SETRANGE32, 0, maximum);
}

void ProgressBar::SetPos(int32_t position)
{
    const int32_t maximum = Maximum;
    // the themed bar animates only forwards: going one step beyond and back shows the value at once
    if (position != maximum) {
        SendMessageW(Handle, PBM_SETPOS, static_cast<WPARAM>(position + 1), 0);
        SendMessageW(Handle, PBM_SETPOS, static_cast<WPARAM>(position), 0);
    } else if (Position < maximum) {
        SendMessageW(Handle, PBM_SETPOS, static_cast<WPARAM>(maximum), 0);
        SendMessageW(Handle, PBM_SETPOS, static_cast<WPARAM>(maximum - 1), 0);
        SendMessageW(Handle, PBM_SETPOS, static_cast<WPARAM>(maximum), 0);
    }
    Position = position;
}

void ProgressBar::SetState(int state)
{
    SendMessageW(Handle, PBM_SETSTATE, static_cast<WPARAM>(state), 0);
}

} // namespace kit
