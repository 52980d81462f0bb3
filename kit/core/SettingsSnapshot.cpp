#include "kit/core/SettingsSnapshot.h"

#include <boost/make_shared.hpp>

namespace kit {

SettingsSnapshot::SettingsSnapshot() : Current(boost::make_shared<const SettingsNode>())
{
}

void SettingsSnapshot::Publish(const SettingsNode& tree)
{
    boost::shared_ptr<const SettingsNode> copy = boost::make_shared<const SettingsNode>(tree);
    boost::atomic_store(&Current, copy);
}

boost::shared_ptr<const SettingsNode> SettingsSnapshot::Get() const
{
    return boost::atomic_load(&Current);
}

} // namespace kit
