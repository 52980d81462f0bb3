#include "kit/ui/DropFile.h"

#include <shellapi.h>

namespace kit {

DropFile::DropFile(HDROP drop) : Drop(drop), Count(drop ? DragQueryFileW(drop, 0xFFFFFFFF, 0, 0) : 0)
{
}

DropFile::~DropFile()
{
    if (Drop)
        DragFinish(Drop);
}

bool DropFile::Next(std::wstring& path)
{
    while (Position < Count) {
        UINT index = Position++;
        UINT length = DragQueryFileW(Drop, index, 0, 0);
        if (length == 0)
            continue;
        std::wstring buffer(length + 1, L'\0');
        UINT copied = DragQueryFileW(Drop, index, &buffer[0], length + 1);
        buffer.resize(copied);
        path = buffer;
        return true;
    }
    return false;
}

} // namespace kit
