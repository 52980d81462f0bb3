#include "kit/ui/FileDialog.h"

#include <commdlg.h>

namespace kit {

namespace {

void Prepare(OPENFILENAMEW& request, Window* owner, const std::wstring& filter, std::vector<wchar_t>& buffer,
             const std::wstring& initialDirectory, const std::wstring& defaultExtension)
{
    request = OPENFILENAMEW();
    request.lStructSize = sizeof(OPENFILENAMEW);
    request.hwndOwner = owner ? owner->Handle : nullptr;
    request.hInstance = GetModuleInstance();
    request.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
    request.lpstrFile = buffer.data();
    request.nMaxFile = static_cast<DWORD>(buffer.size());
    request.lpstrInitialDir = initialDirectory.empty() ? nullptr : initialDirectory.c_str();
    request.lpstrDefExt = defaultExtension.empty() ? nullptr : defaultExtension.c_str();
}

// the filter's pairs each end in NUL; the list itself ends in one more
std::wstring TerminateFilter(const std::wstring& filter)
{
    if (filter.empty())
        return filter;
    std::wstring terminated = filter;
    if (terminated.back() != L'\0')
        terminated.push_back(L'\0');
    terminated.push_back(L'\0');
    return terminated;
}

} // namespace

FileDialog::FileDialog() : FilterIndex(0) {}

uint32_t FileDialog::Flags(bool open, bool multiple)
{
    const DWORD common = OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    if (!open) {
        // OFN_FILEMUSTEXIST "cannot be used with a Save As dialog box": Windows would refuse every new name
        return common | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT;
    }
    return common | OFN_FILEMUSTEXIST | (multiple ? OFN_ALLOWMULTISELECT : 0);
}

bool FileDialog::Show(Window* owner, std::wstring& path, bool open, const std::wstring& initialDirectory,
                      const std::wstring& defaultExtension, const std::wstring& filter, int filterIndex)
{
    LinkParent(owner);
    std::vector<wchar_t> buffer(PathBufferSize, L'\0');
    // a path that does not fit starts the dialog with an empty name rather than a cut one
    if (path.size() < PathBufferSize && path.find(L'\0') == std::wstring::npos)
        path.copy(buffer.data(), path.size());
    const std::wstring filters = TerminateFilter(filter);
    OPENFILENAMEW request;
    Prepare(request, owner, filters, buffer, initialDirectory, defaultExtension);
    request.nFilterIndex = static_cast<DWORD>(filterIndex);
    request.Flags = Flags(open, false);
    if (!(open ? GetOpenFileNameW(&request) : GetSaveFileNameW(&request)))
        return false;
    buffer.back() = L'\0';
    path = buffer.data();
    FilterIndex = static_cast<int32_t>(request.nFilterIndex);
    return true;
}

bool FileDialog::ShowMultiple(Window* owner, const std::wstring& initialDirectory,
                              const std::wstring& defaultExtension, const std::wstring& filter,
                              std::vector<std::wstring>& paths)
{
    LinkParent(owner);
    std::vector<wchar_t> buffer(MultipleBufferSize, L'\0');
    const std::wstring filters = TerminateFilter(filter);
    OPENFILENAMEW request;
    Prepare(request, owner, filters, buffer, initialDirectory, defaultExtension);
    request.nFilterIndex = 0;
    request.Flags = Flags(true, true);
    FilterIndex = 0;
    if (!GetOpenFileNameW(&request))
        return false;
    paths = ParseSelection(buffer);
    return !paths.empty();
}

std::vector<std::wstring> FileDialog::ParseSelection(const std::vector<wchar_t>& buffer)
{
    std::vector<std::wstring> paths;
    const size_t size = buffer.size();
    size_t end = 0;
    while (end < size && buffer[end] != L'\0')
        ++end;
    if (end == 0 || end == size)
        return paths;
    std::wstring first(buffer.data(), end);
    const DWORD attributes = GetFileAttributesW(first.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        paths.push_back(first);
        return paths;
    }
    if (first.back() != L'\\')
        first.push_back(L'\\');
    size_t start = end + 1;
    while (start < size && buffer[start] != L'\0') {
        end = start;
        while (end < size && buffer[end] != L'\0')
            ++end;
        // a name that runs into the end of the buffer was cut off: leave it out
        if (end == size)
            break;
        paths.push_back(first + std::wstring(buffer.data() + start, end - start));
        start = end + 1;
    }
    return paths;
}

} // namespace kit
