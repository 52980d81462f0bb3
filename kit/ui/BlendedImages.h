// Premultiplied copies of an image list's images, blended onto a DC in one call each. An image list draws every
// image through a fresh bitmap and a few device queries, which in a list of a few dozen rows costs as much as the
// rest of the rows' painting; a copy made the first time an image is drawn is blended from one bitmap ever after.
// The image list stays its owner's, and its images must not change under an index (the shell's icon list only
// grows). GUI thread only.
#pragma once

#include "kit/ui/MemoryDc.h"

#include <windows.h>
#include <commctrl.h>
#include <boost/noncopyable.hpp>

#include <cstdint>
#include <unordered_map>

namespace kit {

class BlendedImages : private boost::noncopyable {
public:
    explicit BlendedImages(HIMAGELIST images);
    ~BlendedImages();

    HIMAGELIST GetImageList() const { return Images; }
    // Blends image index at (x, y) over what dc holds, as the image list draws it transparently, cut to width and
    // height; false when the image or the copy could not be had (nothing is drawn then).
    bool Draw(int index, HDC dc, int x, int y, int width, int height);

private:
    // the strip's slot for the image, copied into it the first time; -1 when it cannot be
    int SlotOf(int index);
    bool Grow();
    bool CopyInto(int index, int slot);

    HIMAGELIST Images; // not owned
    int Width = 0;     // 0: the image list gives no size, nothing is drawn
    int Height = 0;
    boost::shared_ptr<MemoryDc> Dc; // holds Strip the whole time
    HBITMAP Strip = nullptr;        // 32-bit top-down, premultiplied: the slots one under the other
    HGDIOBJ Original = nullptr;
    uint32_t* Bits = nullptr;
    int Capacity = 0;
    std::unordered_map<int, int> Slots; // image index -> slot
};

} // namespace kit
