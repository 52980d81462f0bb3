#include "kit/ui/MemoryDc.h"

namespace kit {

boost::shared_ptr<MemoryDc> MemoryDc::Create(HDC other)
{
    HDC handle = CreateCompatibleDC(other);
    if (!handle)
        return boost::shared_ptr<MemoryDc>();
    return boost::shared_ptr<MemoryDc>(new MemoryDc(handle));
}

MemoryDc::~MemoryDc()
{
    DeleteDC(Handle);
}

HGDIOBJ MemoryDc::Select(HGDIOBJ object)
{
    return SelectObject(Handle, object);
}

} // namespace kit
