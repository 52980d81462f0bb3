// The shell's folder selection dialog.
#pragma once

#include <string>

namespace kit {

class Window;

// Opens the dialog at initialPath; true and the chosen folder in folder when the user picks one.
bool ChooseFolder(const Window* owner, const std::wstring& initialPath, std::wstring& folder);

} // namespace kit
