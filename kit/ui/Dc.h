// A device context. From GetDC it is released with the object; around a BeginPaint or notification DC it is a view.
#pragma once

#include <windows.h>
#include <boost/noncopyable.hpp>
#include <boost/shared_ptr.hpp>

namespace kit {

class Dc : private boost::noncopyable {
public:
    // GetDC of the window (null: the screen)
    static boost::shared_ptr<Dc> FromWindow(HWND window);
    // a device context that stays the caller's
    static boost::shared_ptr<Dc> Wrap(HDC handle);
    virtual ~Dc();

    HDC GetHandle() const { return Handle; }
    HWND GetWindow() const { return Window; }

protected:
    Dc(HDC handle, HWND window) : Handle(handle), Window(window) {}

    HDC Handle;
    HWND Window; // null unless the DC came from GetDC
    bool ReleaseOnDestroy = false; // obtained by GetDC
};

} // namespace kit
