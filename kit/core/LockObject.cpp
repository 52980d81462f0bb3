#include "kit/core/LockObject.h"

namespace kit {

LockObject::~LockObject() = default;

} // namespace kit
