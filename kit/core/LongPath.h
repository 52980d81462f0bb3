// The extended-length form of a path ("\\?\C:\..." and "\\?\UNC\server\share\..."), which the file system calls
// take past MAX_PATH, and the plain form the user reads. Plain string work, the same on every platform.
#pragma once

#include <string>

namespace kit {

// The extended-length form of a full path: "/" becomes "\", doubled separators merge, "." and ".." steps are
// resolved (".." stops at the drive or share) and trailing dots and blanks are dropped where the system drops
// them, so that the result names the file the plain path names (the prefix turns all of that off). A path already
// in that form, or one that is not full (relative, "C:" without a separator), comes back unchanged.
std::wstring ExtendedPath(const std::wstring& path);

// What a file system call is given: the path itself while every call takes it (folders stop at MAX_PATH - 12
// characters), else its extended-length form.
std::wstring SystemPath(const std::wstring& path);

// The path without the "\\?\" or "\\?\UNC\" prefix, for showing.
std::wstring DisplayPath(const std::wstring& path);

// Tests see through it that a caller handed a long path to SystemPath: called with every path that SystemPath
// extends. Null (the default) calls nothing.
typedef void (*SystemPathObserver)(const std::wstring& path);
void SetSystemPathObserver(SystemPathObserver observer);

} // namespace kit
