#include "ReferenceBinder.h"

void ReferenceBinder::refer(const std::string& name, Bind bind)
{
    if (published(name))
        bind();
    else
        waiting_[name].push_back(std::move(bind));
}

void ReferenceBinder::publish(const std::string& name)
{
    published_.insert(name);
    auto found = waiting_.find(name);
    if (found == waiting_.end())
        return;
    std::vector<Bind> binds = std::move(found->second);
    waiting_.erase(found);
    for (Bind& bind : binds)
        bind();
}

std::size_t ReferenceBinder::pending(const std::string& name) const
{
    auto found = waiting_.find(name);
    return found == waiting_.end() ? 0 : found->second.size();
}
