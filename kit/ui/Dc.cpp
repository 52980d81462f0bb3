#include "kit/ui/Dc.h"

namespace kit {

boost::shared_ptr<Dc> Dc::FromWindow(HWND window)
{
    HDC handle = GetDC(window);
    if (!handle)
        return boost::shared_ptr<Dc>();
    // the screen DC has no window, yet it must be released as well
    boost::shared_ptr<Dc> dc(new Dc(handle, window));
    dc->ReleaseOnDestroy = true;
    return dc;
}

boost::shared_ptr<Dc> Dc::Wrap(HDC handle)
{
    if (!handle)
        return boost::shared_ptr<Dc>();
    return boost::shared_ptr<Dc>(new Dc(handle, 0));
}

Dc::~Dc()
{
    if (ReleaseOnDestroy)
        ReleaseDC(Window, Handle);
}

} // namespace kit
