// The paths of one drag-and-drop; the drop handle is finished with the object.
#pragma once

#include <windows.h>
#include <boost/noncopyable.hpp>
#include <string>

namespace kit {

class DropFile : private boost::noncopyable {
public:
    explicit DropFile(HDROP drop);
    ~DropFile();

    UINT GetCount() const { return Count; }
    // the next dropped path; false after the last one
    bool Next(std::wstring& path);

private:
    HDROP Drop;
    UINT Count;
    UINT Position = 0;
};

} // namespace kit
