#pragma once
#include <algorithm>
#include <string>
#include <vector>

// The passwords a clerk gave in this session, tried in turn when a database
// server asks for one. Kept in memory only: never written anywhere.
class PasswordList {
public:
    void add(const std::string& password)
    {
        if (!password.empty() && std::find(entries_.begin(), entries_.end(), password) == entries_.end())
            entries_.push_back(password);
    }
    void remove(const std::string& password) { std::erase(entries_, password); }
    void clear() { entries_.clear(); }
    const std::vector<std::string>& entries() const { return entries_; }
    bool empty() const { return entries_.empty(); }

private:
    std::vector<std::string> entries_;
};
