#include "kit/ui/ImageList.h"

namespace kit {

boost::shared_ptr<ImageList> ImageList::Create(int width, int height, UINT flags, int initial, int grow)
{
    HIMAGELIST handle = ImageList_Create(width, height, flags, initial, grow);
    if (!handle)
        return boost::shared_ptr<ImageList>();
    return boost::shared_ptr<ImageList>(new ImageList(handle, true));
}

boost::shared_ptr<ImageList> ImageList::Wrap(HIMAGELIST handle)
{
    if (!handle)
        return boost::shared_ptr<ImageList>();
    return boost::shared_ptr<ImageList>(new ImageList(handle, false));
}

ImageList::~ImageList()
{
    if (Owned)
        ImageList_Destroy(Handle);
}

int ImageList::AddBitmap(HBITMAP bitmap, HBITMAP mask)
{
    return ImageList_Add(Handle, bitmap, mask);
}

int ImageList::AddMasked(HBITMAP bitmap, COLORREF maskColor)
{
    return ImageList_AddMasked(Handle, bitmap, maskColor);
}

int ImageList::AddIcon(HICON icon)
{
    return ImageList_AddIcon(Handle, icon);
}

int ImageList::GetCount() const
{
    return ImageList_GetImageCount(Handle);
}

} // namespace kit
