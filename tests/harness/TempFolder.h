// A folder of its own for one test under %TEMP%, removed with everything in it when the object goes.
#pragma once

#include <cstdint>
#include <string>

#include <boost/noncopyable.hpp>

namespace harness {

class TempFolder : private boost::noncopyable {
public:
    TempFolder();
    ~TempFolder();

    // the folder, without a trailing backslash
    const std::wstring& Path() const { return Root; }
    // Path() + "\" + relative
    std::wstring PathOf(const std::wstring& relative) const;
    // Writes bytes to relative (making the folders on the way); returns the full path, empty on failure.
    std::wstring WriteFile(const std::wstring& relative, const std::string& bytes) const;
    // A file of size zero bytes that takes no room on disk, quick to make and as long to read as any (making the
    // folders on the way); returns the full path, empty on failure.
    std::wstring WriteSparseFile(const std::wstring& relative, uint64_t size) const;
    // Makes the folder relative and its parents; returns the full path, empty on failure.
    std::wstring MakeFolder(const std::wstring& relative) const;

    // Removes a folder tree (read-only files included); true when it is gone.
    static bool RemoveTree(const std::wstring& folder);

private:
    std::wstring Root;
};

// A path the build gives (an ASCII Unix path such as a program's, or a Windows one) as Wine's programs see it:
// "/work/b/juxta.exe" becomes "Z:\work\b\juxta.exe".
std::wstring HostPath(const std::string& built);

} // namespace harness
