// A memory device context compatible with another DC; deleted with the object.
#pragma once

#include "kit/ui/Dc.h"

namespace kit {

class MemoryDc : public Dc {
public:
    // other: null for a DC compatible with the screen
    static boost::shared_ptr<MemoryDc> Create(HDC other);
    ~MemoryDc() override;

    // selects the object and returns the one it replaced
    HGDIOBJ Select(HGDIOBJ object);

private:
    explicit MemoryDc(HDC handle) : Dc(handle, 0) {}
};

} // namespace kit
