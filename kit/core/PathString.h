// The path operations as plain string work, with the rules of the Windows shell path functions. They stand in where
// those functions refuse a path (longer than MAX_PATH) and in the native build. Both '\' and '/' separate folders.
#pragma once

#include <string>

namespace kit {
namespace pathstring {

std::wstring RenameExtension(const std::wstring& path, const std::wstring& extension);
std::wstring RemoveExtension(const std::wstring& path);
std::wstring FindExtension(const std::wstring& path);
std::wstring FindFileName(const std::wstring& path);
std::wstring RemoveFileName(const std::wstring& path);
std::wstring AddBackslash(const std::wstring& path);

#ifndef _WIN32
// the path as the native system takes it: UTF-8, '/' for '\'
std::string NativePath(const std::wstring& path);
#endif

} // namespace pathstring
} // namespace kit
