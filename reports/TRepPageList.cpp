#include "TRepPageList.h"

#include <chrono>
#include <cstring>
#include <filesystem>

#include "EReportError.h"
#include "EmfPlayer.h"
#include "LittleEndian.h"
#include "ReplacingFile.h"
#include "TRepCompress.h"

namespace {

constexpr std::uint16_t FormatVersion = 3;
constexpr std::uint16_t EngineVersion = 309;
constexpr std::uint64_t RecordOverhead = 12;
// 1 when every picture is sealed (EmfPlayer::sealed), in a reserved byte.
constexpr size_t SealedAt = 26;
// The title: UTF-8, padded with zeros, in reserved bytes of the header.
constexpr size_t TitleAt = 28;
constexpr size_t TitleSize = 100;

// At most TitleSize - 1 bytes, never half a character.
std::string fittedTitle(const std::string& title)
{
    if (title.size() < TitleSize)
        return title;
    size_t end = TitleSize - 1;
    while (end > 0 && (static_cast<unsigned char>(title[end]) & 0xC0) == 0x80)
        --end;
    return title.substr(0, end);
}

// A title from the header, or nothing when those bytes hold no text.
std::string storedTitle(const std::uint8_t* header)
{
    std::string title;
    for (size_t i = TitleAt; i < TitleAt + TitleSize && header[i] != 0; ++i) {
        if (header[i] < 0x20 || header[i] == 0x7F)
            return {};
        title += static_cast<char>(header[i]);
    }
    return title;
}

// Days since 30 December 1899, the time of day as the fraction.
double nowAsDays()
{
    using namespace std::chrono;
    const double seconds = duration<double>(system_clock::now().time_since_epoch()).count();
    return 25569.0 + seconds / 86400.0;
}

[[noreturn]] void refuse(const std::string& name, const std::string& why)
{
    throw EReportError("Invalid report file \"" + name + "\": " + why);
}

}  // namespace

// Names the file, or the temporary file, the pages are read from.
void TRepPageList::damaged() const
{
    const std::string& name = stream_->fileName().empty() ? stream_->temporaryName() : stream_->fileName();
    if (name.empty())
        throw EReportError("Invalid report pages: page records are damaged");
    refuse(name, "page records are damaged");
}

TRepPageList::TRepPageList()
{
    open();
}

void TRepPageList::open(size_t memoryLimit)
{
    std::lock_guard guard(lock_);
    stream_ = std::make_unique<TRepStream>(memoryLimit);
    pageCount_ = 0;
    sealed_ = true;
    headerSize_ = HeaderSize;
}

std::uint32_t TRepPageList::readU32()
{
    std::uint8_t b[4];
    if (stream_->read(b, 4) != 4)
        damaged();
    return LittleEndian::get32(b);
}

void TRepPageList::writeU32(std::uint32_t value)
{
    std::uint8_t b[4];
    LittleEndian::set32(b, value);
    stream_->write(b, 4);
}

void TRepPageList::writeHeader()
{
    std::uint8_t header[HeaderSize] = {};
    header[0] = FormatVersion & 0xFF;
    header[1] = FormatVersion >> 8;
    header[2] = EngineVersion & 0xFF;
    header[3] = EngineVersion >> 8;
    LittleEndian::set32(header + 8, static_cast<std::uint32_t>(pageCount_));
    const double when = nowAsDays();
    std::memcpy(header + 16, &when, 8);
    header[25] = compression_ ? 1 : 0;
    header[SealedAt] = sealed_ ? 1 : 0;
    const std::string title = fittedTitle(title_);
    std::memcpy(header + TitleAt, title.data(), title.size());
    stream_->seek(0);
    stream_->write(header, HeaderSize);
}

void TRepPageList::addPage(std::span<const std::uint8_t> picture)
{
    std::lock_guard guard(lock_);
    ++pageCount_;
    sealed_ = sealed_ && EmfPlayer::sealed(picture);
    if (pageCount_ == 1)
        writeHeader();
    const std::uint64_t start = stream_->size();
    stream_->seek(start);
    std::vector<std::uint8_t> coded;
    std::span<const std::uint8_t> body = picture;
    if (compression_) {
        TRepCompress coder;
        for (std::uint8_t byte : picture)
            coder.encode(byte);
        coded = coder.finish();
        body = coded;
    }
    // The record's end is known before it is written: written straight
    // through, with no seek back over the page.
    const std::uint64_t end = start + 8 + (compression_ ? 4 : 0) + body.size() + 4;
    writeU32(static_cast<std::uint32_t>(pageCount_));
    writeU32(static_cast<std::uint32_t>(end));
    if (compression_)
        writeU32(static_cast<std::uint32_t>(picture.size()));
    stream_->write(body.data(), body.size());
    writeU32(static_cast<std::uint32_t>(start));
}

void TRepPageList::finish()
{
    std::lock_guard guard(lock_);
    if (stream_->readOnly())
        return;
    const std::uint64_t at = stream_->position();
    writeHeader();
    stream_->seek(at);
    stream_->flush();
}

void TRepPageList::clear()
{
    std::lock_guard guard(lock_);
    pageCount_ = 0;
}

// A record start must leave room for a whole record before the file's last
// four bytes.
void TRepPageList::checkRecordStart(std::uint64_t offset) const
{
    if (offset < headerSize_ || offset + RecordOverhead > stream_->size())
        damaged();
}

// Leaves the stream at the start of record n. Every offset is checked and the
// walk takes at most one step per page, so lying offsets cannot loop.
void TRepPageList::locate(int n)
{
    if (n == 1) {
        stream_->seek(headerSize_);
        return;
    }
    const std::uint64_t size = stream_->size();
    if (n == pageCount_ || stream_->position() >= size || stream_->position() < headerSize_) {
        stream_->seek(size - 4);
        const std::uint64_t last = readU32();
        checkRecordStart(last);
        stream_->seek(last);
        if (n == pageCount_)
            return;
    }
    std::uint64_t at = stream_->position();
    checkRecordStart(at);
    const auto k = static_cast<std::int32_t>(readU32());
    for (int steps = 0; k != n; ++steps) {
        if (steps > pageCount_)
            damaged();
        stream_->seek(at);
        const auto page = static_cast<std::int32_t>(readU32());
        if (page == n)
            break;
        std::uint64_t next;
        if (k < n) {
            next = readU32();
            if (next <= at)
                damaged();
        } else {
            if (at < headerSize_ + 4)
                damaged();
            stream_->seek(at - 4);
            next = readU32();
            if (next >= at)
                damaged();
        }
        checkRecordStart(next);
        at = next;
    }
    stream_->seek(at);
}

std::vector<std::uint8_t> TRepPageList::readRecord(int n)
{
    const std::uint64_t start = stream_->position();
    const auto page = static_cast<std::int32_t>(readU32());
    const std::uint64_t next = readU32();
    if (page != n || next < start + RecordOverhead || next > stream_->size())
        damaged();
    std::uint64_t dataSize = next - start - RecordOverhead;
    std::vector<std::uint8_t> picture(static_cast<size_t>(dataSize));
    if (stream_->read(picture.data(), picture.size()) != picture.size())
        damaged();
    if (compression_)
        picture = decodePicture(picture);
    if (readU32() != start)
        damaged();
    return picture;
}

std::optional<std::vector<std::uint8_t>> TRepPageList::getPage(int n)
{
    std::lock_guard guard(lock_);
    if (n < 1 || n > pageCount_)
        return std::nullopt;
    const std::uint64_t before = stream_->position();
    try {
        locate(n);
        return readRecord(n);
    } catch (const EReportError&) {
        // leave the stream where a later request can start over
        stream_->seek(std::min(before, stream_->size()));
        throw;
    }
}

// The pages go to a new file beside the target, which then takes the
// target's name: a failed write (full disk, a folder that takes no file)
// leaves an earlier file of that name as it was.
void TRepPageList::saveToFile(const std::string& name)
{
    std::lock_guard guard(lock_);
    std::error_code ec;
    if (!stream_->fileName().empty() && std::filesystem::equivalent(stream_->fileName(), name, ec))
        return;  // the pages are that file already
    // A finished temporary file on the target's file system becomes the
    // saved file: written once, not copied.
    if (stream_->keepAs(name))
        return;
    ReplacingFile file(name);  // a new file is its owner's only: a report holds personal data
    const std::uint64_t at = stream_->position();
    stream_->seek(0);
    std::vector<char> chunk(SaveChunk);
    for (size_t got; file.ok() && (got = stream_->read(chunk.data(), chunk.size())) > 0;)
        file.write(std::string_view(chunk.data(), got));
    stream_->seek(at);
    if (!file.commit())
        throw EReportError(file.error());
}

void TRepPageList::loadFromFile(const std::string& name)
{
    std::lock_guard guard(lock_);
    std::unique_ptr<TRepStream> file = TRepStream::openFile(name);
    if (file->size() < HeaderSize)
        refuse(name, "it is too short");
    std::uint8_t raw[HeaderSize] = {};
    file->read(raw, HeaderSize);
    // A 124-byte header puts the first picture's signature 4 bytes earlier.
    char probe[5] = {};
    if (file->size() >= 177) {
        file->seek(173);
        file->read(probe, 4);
    }
    const bool old = std::strcmp(probe, "EMF") == 0;
    const size_t countAt = old ? 4 + 4 : 8;
    const size_t flagAt = old ? 21 : 25;
    const auto count = static_cast<std::int32_t>(LittleEndian::get32(raw + countAt));
    const size_t header = old ? OldHeaderSize : HeaderSize;
    if (count < 0 || (count > 0 && file->size() < header + RecordOverhead) ||
        static_cast<std::uint64_t>(count) > (file->size() - header) / RecordOverhead)
        refuse(name, "it has a wrong page count");
    // Every run makes at least one page.
    if (count == 0)
        refuse(name, "it holds no pages");
    const bool coded = raw[flagAt] != 0;
    const bool sealed = !old && raw[SealedAt] == 1;
    checkRecords(*file, name, header, count, coded, sealed);
    file->seek(header);
    stream_ = std::move(file);
    pageCount_ = count;
    compression_ = coded;
    headerSize_ = header;
    sealed_ = sealed;
    title_ = old ? std::string() : storedTitle(raw);
}

// Every record must be where the one before says, carry its page number,
// close with its own start and end where the next begins, and hold a picture
// that can be shown whole; the last one ends the file. The file is read once,
// record by record, and refused before any of its pages is shown.
void TRepPageList::checkRecords(TRepStream& file, const std::string& name, std::uint64_t header, std::int32_t count,
                                bool coded, bool sealed)
{
    const std::uint64_t size = file.size();
    const std::uint64_t least = RecordOverhead + (coded ? 4 : 0);
    std::vector<std::uint8_t> record;
    std::uint64_t start = header;
    for (std::int32_t n = 1; n <= count; ++n) {
        const std::string page = "page " + std::to_string(n);
        if (start + least > size)
            refuse(name, "the file ends before " + page);
        std::uint8_t head[8];
        file.seek(start);
        file.read(head, 8);
        const std::uint64_t next = LittleEndian::get32(head + 4);
        if (LittleEndian::get32(head) != static_cast<std::uint32_t>(n) || next < start + least || next > size)
            refuse(name, "the record of " + page + " is damaged");
        record.resize(static_cast<size_t>(next - start - 8));
        if (file.read(record.data(), record.size()) != record.size() ||
            LittleEndian::get32(record.data() + record.size() - 4) != start)
            refuse(name, "the record of " + page + " is damaged");
        const std::span<const std::uint8_t> data(record.data(), record.size() - 4);
        try {
            if (coded)
                EmfPlayer::check(decodePicture(data), sealed);
            else
                EmfPlayer::check(data, sealed);
        } catch (const EReportError& e) {
            refuse(name, "the picture of " + page + " is damaged (" + e.what() + ")");
        }
        start = next;
    }
    if (start != size)
        refuse(name, "bytes follow the last page");
}

// A coded page: the picture's length, then its coded bytes.
std::vector<std::uint8_t> TRepPageList::decodePicture(std::span<const std::uint8_t> data)
{
    if (data.size() < 4)
        throw EReportError("Invalid picture: a coded page has no length");
    const std::uint64_t length = LittleEndian::get32(data.data());
    const std::span<const std::uint8_t> coded = data.subspan(4);
    if (length > coded.size() * 8)
        throw EReportError("Invalid picture: its coded length runs past its record");
    return TRepCompress().decode(coded, static_cast<size_t>(length));
}

void TRepPageList::swap(TRepPageList& other)
{
    std::scoped_lock guard(lock_, other.lock_);
    std::swap(stream_, other.stream_);
    std::swap(pageCount_, other.pageCount_);
    std::swap(compression_, other.compression_);
    std::swap(headerSize_, other.headerSize_);
    std::swap(title_, other.title_);
    std::swap(sealed_, other.sealed_);
}
