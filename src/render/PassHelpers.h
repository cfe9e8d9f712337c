#pragma once

#include "core/Logger.h"

#include <cstddef>

// Small pieces the draw passes share.

// A byte offset into the bound buffer object, as GL's pointer arguments take
// it: GL reads the pointer back as the integer it was made from.
inline const void* bufferOffset(std::size_t offset)
{
    return reinterpret_cast<const void*>(offset); // NOLINT(performance-no-int-to-ptr)
}

// A pass's own warning about something its program does not offer.
inline void warnMissing(const char* text)
{
    VornE::log(VornE::Warning, text);
}
