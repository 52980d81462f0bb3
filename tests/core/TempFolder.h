// A folder of its own for one test, removed with everything in it when the test ends.
#pragma once

#include "kit/core/Path.h"

#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdio>
#include <cstdlib>
#include <ftw.h>
#include <unistd.h>
#endif

class TempFolder {
public:
    TempFolder()
    {
#ifdef _WIN32
        wchar_t base[MAX_PATH + 1];
        GetTempPathW(MAX_PATH + 1, base);
        for (unsigned n = GetTickCount() ^ GetCurrentProcessId();; ++n) {
            std::wstring candidate = kit::AddBackslash(base) + L"juxta-test-" + std::to_wstring(n);
            if (CreateDirectoryW(candidate.c_str(), nullptr)) {
                Path = candidate;
                break;
            }
        }
#else
        char pattern[] = "/tmp/juxta-test-XXXXXX";
        Path = kit::ToWide(mkdtemp(pattern));
#endif
    }

    ~TempFolder() { RemoveTree(Path); }

    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // the full path of a name inside the folder
    std::wstring operator/(const std::wstring& name) const { return Path + Separator + name; }

#ifdef _WIN32
    static const wchar_t Separator = L'\\';
#else
    static const wchar_t Separator = L'/';
#endif

    std::wstring Path;

private:
#ifdef _WIN32
    static void RemoveTree(const std::wstring& folder)
    {
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                std::wstring name = found.cFileName;
                if (name == L"." || name == L"..") {
                    continue;
                }
                std::wstring full = folder + L"\\" + name;
                SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    RemoveTree(full);
                } else {
                    DeleteFileW(full.c_str());
                }
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
        RemoveDirectoryW(folder.c_str());
    }
#else
    static void RemoveTree(const std::wstring& folder)
    {
        nftw(kit::ToNarrow(folder).c_str(),
             [](const char* path, const struct stat*, int, struct FTW*) { return remove(path); }, 16,
             FTW_DEPTH | FTW_PHYS);
    }
#endif
};
