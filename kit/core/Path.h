// Path and text utilities. Paths are wide strings with backslashes; every function returns a new string and keeps
// no state. On Windows the shell path functions do the work; for paths they refuse (longer than MAX_PATH) and in the
// native build, which takes both '\' and '/' as separators, string versions with the same rules stand in.
#pragma once

#include <functional>
#include <string>

namespace kit {

// full path of the running executable
std::wstring GetModulePath();

// the path with its extension (".dat", with the dot) in place of the old one, or appended when it had none
std::wstring RenameExtension(const std::wstring& path, const std::wstring& extension);
std::wstring RemoveExtension(const std::wstring& path);
// the extension with its dot, or empty; a dot followed by a blank or a backslash does not start one
std::wstring FindExtension(const std::wstring& path);
// the last path component
std::wstring FindFileName(const std::wstring& path);
// the folder part, without the last component
std::wstring RemoveFileName(const std::wstring& path);
// the path ending in exactly one backslash (an empty path stays empty)
std::wstring AddBackslash(const std::wstring& path);

// Wide text to the system ANSI code page and back. usedDefault, when given, tells whether the text lost something:
// a character without equivalent became the default character or a look-alike (é as e).
std::string ToNarrow(const std::wstring& text);
std::string ToNarrow(const std::wstring& text, bool* usedDefault);
std::wstring ToWide(const std::string& text);
#ifdef _WIN32
// the same in a given code page (GetACP() above; 65001 where Windows' "Unicode UTF-8" option is on)
std::string ToNarrowInCodePage(const std::wstring& text, bool* usedDefault, unsigned codePage);
std::wstring ToWideInCodePage(const std::string& text, unsigned codePage);
#endif

// Creates every folder on the path that does not exist yet. Failures are not reported (always true): the caller
// finds out when it writes into the folder.
bool CreateFolders(const std::wstring& path);

// true when a file or folder of that name exists
bool PathExists(const std::wstring& path);

// "x (3)" becomes "x"; any other stem is returned as it is
std::wstring StripCopyNumber(const std::wstring& stem);
// A free numbered variant of a file name: "C:\out\data.bin" gives "C:\out\data (1).bin" or the first higher number
// that does not exist; an existing number is dropped first. The input itself when all 9999 names are taken.
std::wstring FindFreeName(const std::wstring& path);
std::wstring FindFreeName(const std::wstring& path, const std::function<bool(const std::wstring&)>& exists);

// true when the whole text is one or more ASCII digits
bool IsNumber(const std::string& text);

} // namespace kit
