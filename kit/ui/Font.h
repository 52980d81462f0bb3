// A GDI font created from a LOGFONTW; deleted with the object.
#pragma once

#include <windows.h>
#include <boost/noncopyable.hpp>
#include <boost/shared_ptr.hpp>

namespace kit {

class Font : private boost::noncopyable {
public:
    static boost::shared_ptr<Font> Create(const LOGFONTW& description);
    ~Font();

    HFONT GetHandle() const { return Handle; }

private:
    explicit Font(HFONT handle) : Handle(handle) {}

    HFONT Handle;
};

} // namespace kit
