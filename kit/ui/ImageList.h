// An image list: one the object creates and destroys, or a view of one the system keeps (the shell's icon list).
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <boost/noncopyable.hpp>
#include <boost/shared_ptr.hpp>

namespace kit {

class ImageList : private boost::noncopyable {
public:
    // flags: ILC_COLOR32 | ILC_MASK and the like
    static boost::shared_ptr<ImageList> Create(int width, int height, UINT flags, int initial, int grow);
    static boost::shared_ptr<ImageList> Wrap(HIMAGELIST handle);
    ~ImageList();

    // returns the index of the first image added, -1 on failure
    int AddBitmap(HBITMAP bitmap, HBITMAP mask);
    int AddMasked(HBITMAP bitmap, COLORREF maskColor);
    int AddIcon(HICON icon);
    int GetCount() const;

    HIMAGELIST GetHandle() const { return Handle; }
    bool IsOwned() const { return Owned; }

private:
    ImageList(HIMAGELIST handle, bool owned) : Handle(handle), Owned(owned) {}

    HIMAGELIST Handle;
    bool Owned;
};

} // namespace kit
