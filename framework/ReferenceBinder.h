#pragma once
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

// References between objects created separately are recorded by the name of
// the object they point to and bound once that object exists, whatever the
// order of creation. A reference to an object already published binds at
// once.
class ReferenceBinder {
public:
    using Bind = std::function<void()>;

    // Runs bind when the object called name is published (now, if it is).
    void refer(const std::string& name, Bind bind);
    // The object called name now exists: every binding waiting for it runs,
    // in the order they were recorded.
    void publish(const std::string& name);

    bool published(const std::string& name) const { return published_.count(name) != 0; }
    std::size_t pending(const std::string& name) const;

private:
    std::map<std::string, std::vector<Bind>> waiting_;
    std::set<std::string> published_;
};
