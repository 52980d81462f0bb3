#include "kit/core/LockObject.h"
