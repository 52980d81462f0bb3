#include "kit/ui/Image.h"

#include "kit/ui/MemoryDc.h"

namespace kit {

namespace {

bool MeasureBitmap(HBITMAP bitmap, int& width, int& height)
{
    BITMAP info = {};
    if (!GetObjectW(bitmap, sizeof info, &info))
        return false;
    width = info.bmWidth;
    height = info.bmHeight;
    return true;
}

bool MeasureIcon(HICON icon, int& width, int& height)
{
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info))
        return false;
    bool measured = MeasureBitmap(info.hbmColor ? info.hbmColor : info.hbmMask, width, height);
    // a mask-only icon stacks the AND and XOR masks in one bitmap of twice the height
    if (measured && !info.hbmColor)
        height /= 2;
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
    return measured;
}

} // namespace

boost::shared_ptr<Image> Image::Load(HINSTANCE module, UINT resourceId, UINT type, int width, int height)
{
    boost::shared_ptr<Image> image(new Image);
    if (!image->Reload(module, resourceId, type, width, height))
        return boost::shared_ptr<Image>();
    return image;
}

boost::shared_ptr<Image> Image::FromBitmap(HBITMAP bitmap)
{
    if (!bitmap)
        return boost::shared_ptr<Image>();
    boost::shared_ptr<Image> image(new Image);
    image->Adopt(bitmap, IMAGE_BITMAP);
    return image;
}

Image::~Image()
{
    Release();
}

bool Image::Reload(HINSTANCE module, UINT resourceId, UINT type, int width, int height)
{
    HANDLE handle = LoadImageW(module, MAKEINTRESOURCEW(resourceId), type, width, height, LR_DEFAULTCOLOR);
    if (!handle)
        return false;
    Release();
    Adopt(handle, type);
    return true;
}

void Image::Adopt(HANDLE handle, UINT type)
{
    Handle = handle;
    Type = type;
    Width = 0;
    Height = 0;
    if (type == IMAGE_ICON)
        MeasureIcon(static_cast<HICON>(handle), Width, Height);
    else
        MeasureBitmap(static_cast<HBITMAP>(handle), Width, Height);
}

void Image::Release()
{
    // a bitmap still selected into a DC cannot be deleted
    if (SelectedIn) {
        SelectedIn->Select(Replaced);
        SelectedIn.reset();
        Replaced = 0;
    }
    if (!Handle)
        return;
    if (Type == IMAGE_ICON)
        DestroyIcon(static_cast<HICON>(Handle));
    else
        DeleteObject(Handle);
    Handle = 0;
}

void Image::Draw(HDC dc, const RECT& rectangle)
{
    if (!Handle)
        return;
    int width = rectangle.right - rectangle.left;
    int height = rectangle.bottom - rectangle.top;
    if (Type == IMAGE_ICON) {
        DrawIconEx(dc, rectangle.left, rectangle.top, static_cast<HICON>(Handle), width, height, 0, 0, DI_NORMAL);
        return;
    }
    if (!SelectedIn) {
        SelectedIn = MemoryDc::Create(dc);
        if (!SelectedIn)
            return;
        Replaced = SelectedIn->Select(Handle);
    }
    SetStretchBltMode(dc, HALFTONE);
    // HALFTONE needs the brush origin reset after the mode is set
    SetBrushOrgEx(dc, 0, 0, 0);
    StretchBlt(dc, rectangle.left, rectangle.top, width, height, SelectedIn->GetHandle(), 0, 0, Width, Height,
        SRCCOPY);
}

} // namespace kit
