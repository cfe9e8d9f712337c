#include "core/RessourceManager.h"

#include "core/Exception.h"
#include "core/Logger.h"

RessourceManager::~RessourceManager()
{
    for (auto& entry : ressources)
        entry.second.reset();
}

bool RessourceManager::load(VornE::RessourceLoader& loader, const std::string& name)
{
    if (ressources.count(name) != 0)
        return true;
    std::unique_ptr<VornE::Ressource> ressource(loader.load(name));
    if (!ressource)
        return false;
    ressources.emplace(name, std::move(ressource));
    return true;
}

VornE::Ressource* RessourceManager::get(const std::string& name) const
{
    const auto found = ressources.find(name);
    if (found != ressources.end())
        return found->second.get();
    VornE::log(VornE::Error, "Trying to access to a ressource not available '" + name + "'");
    return nullptr;
}

void RessourceManager::missing(const std::string& name, bool held)
{
    throw VornE::Exception(
        held ? "The resource '" + name + "' is not of the kind asked for" : "No resource '" + name + "' is loaded");
}
