#include "kit/ui/BlendedImages.h"

#include <algorithm>
#include <cstring>

namespace kit {

namespace {

// a 32-bit top-down DIB section of width x height; bits receives its pixels
HBITMAP CreatePixels(HDC dc, int width, int height, uint32_t*& bits)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    bits = bitmap ? static_cast<uint32_t*>(pixels) : nullptr;
    return bitmap;
}

} // namespace

BlendedImages::BlendedImages(HIMAGELIST images) : Images(images)
{
    if (!Images || !ImageList_GetIconSize(Images, &Width, &Height) || Width <= 0 || Height <= 0)
        Width = Height = 0;
}

BlendedImages::~BlendedImages()
{
    if (Dc)
        Dc->Select(Original);
    Dc.reset();
    if (Strip)
        DeleteObject(Strip);
}

bool BlendedImages::Draw(int index, HDC dc, int x, int y, int width, int height)
{
    const int slot = SlotOf(index);
    width = std::min(width, Width);
    height = std::min(height, Height);
    if (slot < 0 || width <= 0 || height <= 0)
        return false;
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    return AlphaBlend(dc, x, y, width, height, Dc->GetHandle(), 0, slot * Height, width, height, blend) != FALSE;
}

int BlendedImages::SlotOf(int index)
{
    // a copied image stays valid: the image list only grows
    const auto known = Slots.find(index);
    if (known != Slots.end())
        return known->second;
    if (Width == 0 || index < 0 || index >= ImageList_GetImageCount(Images))
        return -1;
    const int slot = static_cast<int>(Slots.size());
    if (slot >= Capacity && !Grow())
        return -1;
    if (!CopyInto(index, slot))
        return -1;
    Slots.emplace(index, slot);
    return slot;
}

bool BlendedImages::Grow()
{
    if (!Dc && !(Dc = MemoryDc::Create(nullptr)))
        return false;
    const int capacity = std::max(16, Capacity * 2);
    uint32_t* bits = nullptr;
    HBITMAP strip = CreatePixels(Dc->GetHandle(), Width, Height * capacity, bits);
    if (!strip)
        return false;
    GdiFlush();
    if (Bits)
        std::memcpy(bits, Bits, sizeof(uint32_t) * Width * Height * Capacity);
    // the strip stays selected, so that drawing never selects a bitmap (a device query under Wine)
    HGDIOBJ previous = Dc->Select(strip);
    if (!Original)
        Original = previous;
    if (Strip)
        DeleteObject(Strip);
    Strip = strip;
    Bits = bits;
    Capacity = capacity;
    return true;
}

// The image drawn transparently over black gives its colours times their coverage, over white one minus the
// coverage besides: the difference is the coverage, whatever the image list holds (a mask, an alpha channel, both).
bool BlendedImages::CopyInto(int index, int slot)
{
    boost::shared_ptr<MemoryDc> scratch = MemoryDc::Create(nullptr);
    if (!scratch)
        return false;
    uint32_t* over[2] = {};
    HBITMAP grounds[2] = {CreatePixels(scratch->GetHandle(), Width, Height, over[0]),
                          CreatePixels(scratch->GetHandle(), Width, Height, over[1])};
    bool drawn = grounds[0] && grounds[1];
    HGDIOBJ original = nullptr;
    for (int ground = 0; drawn && ground < 2; ++ground) {
        HGDIOBJ previous = scratch->Select(grounds[ground]);
        if (!original)
            original = previous;
        const RECT all = {0, 0, Width, Height};
        const int brush = ground == 0 ? BLACK_BRUSH : WHITE_BRUSH;
        FillRect(scratch->GetHandle(), &all, static_cast<HBRUSH>(GetStockObject(brush)));
        drawn = ImageList_DrawEx(Images, index, scratch->GetHandle(), 0, 0, Width, Height, CLR_NONE, CLR_NONE,
                                 ILD_TRANSPARENT) != FALSE;
    }
    if (original)
        scratch->Select(original);
    scratch.reset();
    GdiFlush();
    if (drawn) {
        uint32_t* target = Bits + static_cast<size_t>(slot) * Width * Height;
        for (int at = 0; at < Width * Height; ++at) {
            const uint32_t black = over[0][at];
            const uint32_t white = over[1][at];
            // the coverage from the channel that shows it best (they agree but for rounding)
            int shown = 0;
            for (int shift = 0; shift < 24; shift += 8)
                shown = std::max(shown, 255 - static_cast<int>((white >> shift) & 0xFF) +
                                            static_cast<int>((black >> shift) & 0xFF));
            const uint32_t alpha = static_cast<uint32_t>(std::min(255, std::max(0, shown)));
            uint32_t pixel = alpha << 24;
            for (int shift = 0; shift < 24; shift += 8)
                pixel |= std::min((black >> shift) & 0xFF, alpha) << shift;
            target[at] = pixel;
        }
    }
    for (HBITMAP ground : grounds)
        if (ground)
            DeleteObject(ground);
    return drawn;
}

} // namespace kit
