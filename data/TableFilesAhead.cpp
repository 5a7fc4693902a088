#include "TableFilesAhead.h"

#include <algorithm>

TableFilesAhead::TableFilesAhead(std::string directory, const std::vector<std::string>& tableNames)
    : directory_(std::move(directory))
{
    auto promises = std::make_shared<std::vector<std::promise<std::shared_ptr<SqliteTableFile>>>>(tableNames.size());
    for (std::size_t i = 0; i < tableNames.size(); ++i)
        entries_.push_back({tableNames[i], (*promises)[i].get_future()});
    thread_ = std::async(std::launch::async, [directory = directory_, tableNames, promises] {
        for (std::size_t i = 0; i < tableNames.size(); ++i) {
            std::shared_ptr<SqliteTableFile> file;
            try {
                if (!SqliteTableFile::open(directory, tableNames[i], file).ok())
                    file.reset();
            } catch (...) {
                file.reset();  // the caller's own opening meets it and reports it
            }
            (*promises)[i].set_value(std::move(file));
        }
    });
}

TableFilesAhead::~TableFilesAhead()
{
    discard();
}

std::shared_ptr<SqliteTableFile> TableFilesAhead::take(const std::string& directory, const std::string& tableName)
{
    if (directory != directory_)
        return nullptr;
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [&tableName](const Entry& entry) { return entry.tableName == tableName; });
    if (it == entries_.end())
        return nullptr;
    std::shared_ptr<SqliteTableFile> file = it->file.get();
    entries_.erase(it);
    return file;
}

void TableFilesAhead::discard()
{
    if (thread_.valid())
        thread_.get();
    entries_.clear();
}

bool TableFilesAhead::empty() const
{
    return entries_.empty();
}
