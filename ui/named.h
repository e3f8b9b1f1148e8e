#pragma once

#include <QLatin1String>

namespace quorvane {

// Gives a new control the objectName by which tests and tools find it.
template <typename T>
T *Named(T *object, const char *name)
{
    object->setObjectName(QLatin1String(name));
    return object;
}

} // namespace quorvane
