// The settings as background threads see them: an immutable copy of the tree that the main thread publishes.
//
// The main thread calls Publish after it has loaded the settings and again whenever it has changed values that
// workers read ("Crc32", "Md5", "Sha1", "AutoScroll", the "Color" node). A worker calls Get once when it starts and
// reads that copy for the rest of its run; the main tree is never read from another thread, so no lock is needed
// around it, and a worker never sees half of a change.
#pragma once

#include "kit/core/SettingsNode.h"

#include <boost/noncopyable.hpp>
#include <boost/shared_ptr.hpp>

namespace kit {

class SettingsSnapshot : private boost::noncopyable {
public:
    SettingsSnapshot();

    // copies the tree; the copies handed out earlier stay as they were
    void Publish(const SettingsNode& tree);
    // the last published tree (an empty one before the first Publish); safe from any thread
    boost::shared_ptr<const SettingsNode> Get() const;

private:
    boost::shared_ptr<const SettingsNode> Current; // swapped atomically
};

} // namespace kit
