// A bitmap or icon loaded from the module's resources. A bitmap is drawn scaled through a memory DC that it stays
// selected into after the first draw.
#pragma once

#include <windows.h>
#include <boost/noncopyable.hpp>
#include <boost/shared_ptr.hpp>

namespace kit {

class MemoryDc;

class Image : private boost::noncopyable {
public:
    // type: IMAGE_BITMAP or IMAGE_ICON; width and height 0 take the resource's own size
    static boost::shared_ptr<Image> Load(HINSTANCE module, UINT resourceId, UINT type, int width, int height);
    // takes ownership of a bitmap made by code
    static boost::shared_ptr<Image> FromBitmap(HBITMAP bitmap);
    ~Image();

    // replaces the image; on failure the old one stays
    bool Reload(HINSTANCE module, UINT resourceId, UINT type, int width, int height);
    // stretches the whole image into the rectangle (icons are drawn with DrawIconEx)
    void Draw(HDC dc, const RECT& rectangle);

    HANDLE GetHandle() const { return Handle; }
    HBITMAP GetBitmap() const { return Type == IMAGE_BITMAP ? static_cast<HBITMAP>(Handle) : 0; }
    HICON GetIcon() const { return Type == IMAGE_ICON ? static_cast<HICON>(Handle) : 0; }
    UINT GetType() const { return Type; }
    int GetWidth() const { return Width; }
    int GetHeight() const { return Height; }

private:
    Image() = default;
    void Adopt(HANDLE handle, UINT type);
    void Release();

    HANDLE Handle = 0;
    UINT Type = IMAGE_BITMAP;
    int Width = 0;
    int Height = 0;
    boost::shared_ptr<MemoryDc> SelectedIn; // the DC the bitmap is selected into, once drawn
    HGDIOBJ Replaced = 0;                   // what the bitmap replaced there
};

} // namespace kit
