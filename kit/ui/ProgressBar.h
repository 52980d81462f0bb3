// A progress bar attached to a dialog item. The file operation worker drives it from its own thread: every call
// reaches the control through SendMessageW.
#pragma once

#include "kit/ui/Window.h"

#include <atomic>

namespace kit {

class ProgressBar : public Window {
public:
    static boost::shared_ptr<ProgressBar> Attach(Window* dialog, int controlId);
    static boost::shared_ptr<ProgressBar> Create(Window* parent, DWORD style, const RECT& rect, int controlId);

    void SetRange(int32_t maximum);
    // shows the position at once, without the themed bar's slow animation towards it
    void SetPos(int32_t position);
    // PBST_NORMAL, PBST_ERROR or PBST_PAUSED
    void SetState(int state);

    int32_t GetPosition() const { return Position; }
    int32_t GetMaximum() const { return Maximum; }

private:
    ProgressBar() = default;

    std::atomic<int32_t> Position{0};
    std::atomic<int32_t> Maximum{100};
};

} // namespace kit
