#include "kit/ui/Font.h"

namespace kit {

boost::shared_ptr<Font> Font::Create(const LOGFONTW& description)
{
    HFONT handle = CreateFontIndirectW(&description);
    if (!handle)
        return boost::shared_ptr<Font>();
    return boost::shared_ptr<Font>(new Font(handle));
}

Font::~Font()
{
    DeleteObject(Handle);
}

} // namespace kit
