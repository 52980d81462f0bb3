#include "app/shell/InstanceMapping.h"

#include <cstdint>
#include <cstring>

namespace {

const DWORD MappingSize = 4;

// window handles carry 32 significant bits on every Windows, so 4 bytes hold them in 32- and 64-bit builds alike
HWND ReadHandle(HANDLE mapping)
{
    const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, MappingSize);
    if (!view)
        return nullptr;
    int32_t value = 0;
    std::memcpy(&value, view, sizeof value);
    UnmapViewOfFile(view);
    return static_cast<HWND>(LongToHandle(value));
}

} // namespace

InstanceMapping::InstanceMapping(const std::wstring& name) : Name(name), Handle(nullptr) {}

InstanceMapping::~InstanceMapping()
{
    if (Handle)
        CloseHandle(Handle);
}

HWND InstanceMapping::ReadWindow(const std::wstring& name)
{
    HANDLE mapping = OpenFileMappingW(FILE_MAP_READ, FALSE, name.c_str());
    if (!mapping)
        return nullptr;
    HWND window = ReadHandle(mapping);
    CloseHandle(mapping);
    return window;
}

bool InstanceMapping::ActivateRunning(const std::wstring& name)
{
    // read access only: a first instance at another integrity level grants no more to a second one
    HANDLE mapping = OpenFileMappingW(FILE_MAP_READ, FALSE, name.c_str());
    if (!mapping)
        return false;
    HWND window = ReadHandle(mapping);
    if (window)
        SetForegroundWindow(window);
    CloseHandle(mapping);
    return true;
}

bool InstanceMapping::Publish(HWND window)
{
    if (Handle)
        return false;
    Handle = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, MappingSize, Name.c_str());
    if (!Handle)
        return false;
    void* view = MapViewOfFile(Handle, FILE_MAP_WRITE, 0, 0, MappingSize);
    if (!view)
        return false;
    const int32_t value = HandleToLong(window);
    std::memcpy(view, &value, sizeof value);
    UnmapViewOfFile(view);
    return true;
}
