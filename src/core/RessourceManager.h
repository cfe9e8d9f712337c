#pragma once

#include "core/Ressource.h"
#include "core/RessourceLoader.h"

#include <map>
#include <memory>
#include <string>

// Resources loaded once by name (the file path exactly as the caller writes
// it, no normalisation) and shared as plain non-owning pointers. The manager
// owns every resource it holds; an entry is never removed or replaced, so a
// pointer from get() stays valid for the manager's lifetime.
class RessourceManager {
public:
    RessourceManager() = default;
    // Deletes the resources in ascending byte-wise order of their names, which
    // is the order the textures' deletion lines appear in the log.
    ~RessourceManager();
    RessourceManager(const RessourceManager&) = delete;
    RessourceManager& operator=(const RessourceManager&) = delete;

    // True when `name` is held, now or already. A name already held is not
    // loaded again, whatever loader is given. On false the loader has logged
    // the reason and nothing is stored, so a later call tries again.
    bool load(VornE::RessourceLoader& loader, const std::string& name);
    // The resource held under `name`, or null (logged at Error) when there is
    // none. Callers convert it to the class they loaded under that name.
    VornE::Ressource* get(const std::string& name) const;
    // The resource held under `name` as the class it was loaded as. Throws
    // VornE::Exception, naming it, when nothing is held under that name or
    // what is held is of another class: a misspelt name would otherwise give
    // a null that fails much later, in a draw.
    template <class Kind> Kind& require(const std::string& name) const;

private:
    [[noreturn]] static void missing(const std::string& name, bool held);

    // std::map destroys its nodes in no promised order, so the destructor
    // releases them itself; std::less<std::string> is byte-wise.
    std::map<std::string, std::unique_ptr<VornE::Ressource>> ressources;
};

template <class Kind> Kind& RessourceManager::require(const std::string& name) const
{
    const auto found = ressources.find(name);
    if (found == ressources.end())
        missing(name, false);
    Kind* resource = dynamic_cast<Kind*>(found->second.get());
    if (resource == nullptr)
        missing(name, true);
    return *resource;
}
