#pragma once

#include "core/Ressource.h"

#include <string>

namespace VornE {

// Turns the file named `name` into a new resource. Keeps no state between
// calls, so one loader serves any number of loads.
class RessourceLoader {
public:
    virtual ~RessourceLoader() = default;
    // A new heap resource owned by the caller, or null (after logging why).
    virtual Ressource* load(const std::string& name) = 0;
};

} // namespace VornE
