#include "kit/ui/Brush.h"

namespace kit {

boost::shared_ptr<Brush> Brush::Create(COLORREF color)
{
    HBRUSH handle = CreateSolidBrush(color);
    if (!handle)
        return boost::shared_ptr<Brush>();
    return boost::shared_ptr<Brush>(new Brush(handle, true));
}

boost::shared_ptr<Brush> Brush::Wrap(HBRUSH handle)
{
    if (!handle)
        return boost::shared_ptr<Brush>();
    return boost::shared_ptr<Brush>(new Brush(handle, false));
}

Brush::~Brush()
{
    if (Owned)
        DeleteObject(Handle);
}

} // namespace kit
