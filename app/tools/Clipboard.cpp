#include "app/tools/Clipboard.h"

#include <cstring>

bool CopyTextToClipboard(const std::wstring& text, HWND owner)
{
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    if (!memory)
        return false;
    void* target = GlobalLock(memory);
    if (!target) {
        GlobalFree(memory);
        return false;
    }
    std::memcpy(target, text.c_str(), bytes);
    GlobalUnlock(memory);
    // with no owner, EmptyClipboard leaves the clipboard without one and SetClipboardData then fails
    if (!owner || !OpenClipboard(owner)) {
        GlobalFree(memory);
        return false;
    }
    if (!EmptyClipboard()) {
        CloseClipboard();
        GlobalFree(memory);
        return false;
    }
    // once SetClipboardData succeeds the memory belongs to the system
    const bool placed = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    CloseClipboard();
    if (!placed)
        GlobalFree(memory);
    return placed;
}
