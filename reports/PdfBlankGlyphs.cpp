#include "PdfBlankGlyphs.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace {

constexpr std::string_view mapStart = "begincmap";
constexpr std::string_view mapEnd = "endcmap";
constexpr std::string_view tabCode = "<0009>";
constexpr std::string_view spaceCode = "<0020>";
constexpr size_t chunkSize = 1 << 20;
constexpr size_t mapLimit = 1 << 18;  // far above what one font's map holds

bool readAt(int fd, std::string& into, size_t size, off_t at)
{
    into.resize(size);
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, into.data() + done, size - done, at + static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        done += static_cast<size_t>(n);
    }
    into.resize(done);
    return true;
}

bool writeAt(int fd, std::string_view bytes, off_t at)
{
    while (!bytes.empty()) {
        const ssize_t n = ::pwrite(fd, bytes.data(), bytes.size(), at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        bytes.remove_prefix(static_cast<size_t>(n));
        at += n;
    }
    return true;
}

// The tokens of a map section: "<hex>", "[" and "]".
std::vector<std::string_view::size_type> codesIn(std::string_view line)
{
    std::vector<std::string_view::size_type> starts;
    for (auto at = line.find('<'); at != std::string_view::npos; at = line.find('<', at + 1))
        starts.push_back(at);
    return starts;
}

// Rewrites one line of a "bfrange" or "bfchar" section. A range maps its
// codes to one run of characters, so a run starting at the tab is only
// rewritten when it holds one code; an array or a single code always is.
void mendLine(std::string& map, size_t from, size_t to, bool range)
{
    const std::string_view line(map.data() + from, to - from);
    const auto codes = codesIn(line);
    const bool array = line.find('[') != std::string_view::npos;
    const size_t firstTarget = range ? 2 : 1;
    if (codes.size() <= firstTarget)
        return;
    if (range && !array) {
        const auto lo = line.substr(codes[0], codes[1] - codes[0]);
        const auto hi = line.substr(codes[1], codes[2] - codes[1]);
        if (lo != hi)
            return;
    }
    for (size_t i = firstTarget; i < codes.size(); ++i)
        if (line.substr(codes[i], tabCode.size()) == tabCode)
            map.replace(from + codes[i], tabCode.size(), spaceCode);
}

// Mends every section of one map; true when anything changed.
bool mendMap(std::string& map)
{
    const std::string before = map;
    for (const auto& [open, close, range] :
         {std::tuple{"beginbfrange", "endbfrange", true}, std::tuple{"beginbfchar", "endbfchar", false}}) {
        for (size_t at = map.find(open); at != std::string::npos; at = map.find(open, at + 1)) {
            const size_t end = map.find(close, at);
            if (end == std::string::npos)
                break;
            size_t line = map.find('\n', at);
            while (line != std::string::npos && line < end) {
                const size_t next = std::min(map.find('\n', line + 1), end);
                mendLine(map, line + 1, next, range);
                line = next == end ? std::string::npos : next;
            }
        }
    }
    return map != before;
}

bool mendMapAt(int fd, off_t at)
{
    std::string map;
    if (!readAt(fd, map, mapLimit, at))
        return false;
    const size_t end = map.find(mapEnd);
    if (end == std::string::npos)
        return true;
    map.resize(end);
    return !mendMap(map) || writeAt(fd, map, at);
}

}  // namespace

bool PdfBlankGlyphs::mapToSpaces(int fd)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return false;
    const off_t size = st.st_size;
    std::string chunk;
    // Chunks overlap by the marker's length so none is missed at a seam.
    for (off_t at = 0; at < size; at += static_cast<off_t>(chunkSize - mapStart.size())) {
        if (!readAt(fd, chunk, chunkSize, at))
            return false;
        for (size_t found = chunk.find(mapStart); found != std::string::npos; found = chunk.find(mapStart, found + 1))
            if (!mendMapAt(fd, at + static_cast<off_t>(found)))
                return false;
        if (chunk.size() < chunkSize)
            break;
    }
    return true;
}
