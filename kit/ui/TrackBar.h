// A trackbar attached to a dialog item; a bound window can show its position as text.
#pragma once

#include "kit/ui/Window.h"

namespace kit {

class TrackBar : public Window {
public:
    // subclassed: the position text follows each repaint of the bar
    static boost::shared_ptr<TrackBar> Attach(Window* dialog, int controlId);
    static boost::shared_ptr<TrackBar> Create(Window* parent, DWORD style, const RECT& rect, int controlId);

    int GetPosition() const;
    void SetPosition(int position);
    void SetRange(int minimum, int maximum);
    // kind 6 writes the position as decimal text into target; applies at once
    void AddBinding(Window* target, int32_t kind);

    void ApplyBinding(Window* target, int32_t kind, int32_t value) override;
    LRESULT OnPaint(WPARAM wParam, LPARAM lParam) override;

private:
    TrackBar() = default;
};

} // namespace kit
