// A GDI brush: a solid brush the object owns, or a view of a stock or system brush.
#pragma once

#include <windows.h>
#include <boost/noncopyable.hpp>
#include <boost/shared_ptr.hpp>

namespace kit {

class Brush : private boost::noncopyable {
public:
    static boost::shared_ptr<Brush> Create(COLORREF color);
    // a brush that stays the caller's (stock objects, GetSysColorBrush)
    static boost::shared_ptr<Brush> Wrap(HBRUSH handle);
    ~Brush();

    HBRUSH GetHandle() const { return Handle; }
    bool IsOwned() const { return Owned; }

private:
    Brush(HBRUSH handle, bool owned) : Handle(handle), Owned(owned) {}

    HBRUSH Handle;
    bool Owned;
};

} // namespace kit
