// The common open and save dialogs, with one or several files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "kit/ui/Dialog.h"

namespace kit {

class FileDialog : public Dialog {
public:
    FileDialog();

    // filter: pairs of display text and pattern, each followed by a NUL character; the final NULs are added here.
    // On success path holds the chosen file and FilterIndex the chosen filter; on cancel nothing changes.
    bool Show(Window* owner, std::wstring& path, bool open, const std::wstring& initialDirectory,
              const std::wstring& defaultExtension, const std::wstring& filter, int filterIndex);
    // On success paths receives the chosen files in the order the dialog lists them.
    bool ShowMultiple(Window* owner, const std::wstring& initialDirectory, const std::wstring& defaultExtension,
                      const std::wstring& filter, std::vector<std::wstring>& paths);

    // Splits the buffer of a multiple selection: one existing file's full path, or a folder followed by
    // NUL-terminated names up to an empty one (never reading past the buffer).
    static std::vector<std::wstring> ParseSelection(const std::vector<wchar_t>& buffer);

    // the OPENFILENAMEW flags of an open dialog (one file or several) or of a save dialog
    static uint32_t Flags(bool open, bool multiple);

    int32_t FilterIndex;

    static const size_t PathBufferSize = MAX_PATH;
    static const size_t MultipleBufferSize = 33280;
};

} // namespace kit
