// For the tests that prove a caller hands its paths to the extended-length form. Wine takes long plain paths too,
// so the proof is that kit::SystemPath saw each one: an object records what it sees from its making until Stop.
#pragma once

#include "kit/core/LongPath.h"

#include <cstddef>
#include <mutex>
#include <set>
#include <string>

class SeenPaths {
public:
    SeenPaths()
    {
        std::lock_guard<std::mutex> lock(Guard());
        Paths().clear();
        kit::SetSystemPathObserver(&Record);
    }
    ~SeenPaths() { Stop(); }
    SeenPaths(const SeenPaths&) = delete;
    SeenPaths& operator=(const SeenPaths&) = delete;

    void Stop() { kit::SetSystemPathObserver(nullptr); }
    size_t count(const std::wstring& path) const
    {
        std::lock_guard<std::mutex> lock(Guard());
        return Paths().count(path);
    }

    // six folders of 50 characters each ("\aaa…\fff…"): below any folder, its files' paths pass 300 characters
    static std::wstring DeepFolders()
    {
        std::wstring deep;
        for (int level = 0; level < 6; ++level)
            deep += L"\\" + std::wstring(50, static_cast<wchar_t>(L'a' + level));
        return deep;
    }

private:
    static std::mutex& Guard()
    {
        static std::mutex guard;
        return guard;
    }
    static std::set<std::wstring>& Paths()
    {
        static std::set<std::wstring> paths;
        return paths;
    }
    static void Record(const std::wstring& path)
    {
        std::lock_guard<std::mutex> lock(Guard());
        Paths().insert(path);
    }
};
