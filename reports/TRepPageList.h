#pragma once
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "TRepStream.h"

// The stored pages of one report: page records one after the other in a
// TRepStream behind a 128-byte header. The stream's bytes are also the saved
// report file. Each page record is [page number][offset of the next record]
// [picture, or its length and its coded bytes][offset of this record], so
// pages are found by walking forward or backward from where the stream stands.
class TRepPageList {
public:
    static constexpr size_t HeaderSize = 128;
    static constexpr size_t OldHeaderSize = 124;
    static constexpr size_t PreviewMemoryLimit = 100000;
    static constexpr size_t SaveChunk = 10240;

    TRepPageList();

    // Starts an empty store in a fresh memory stream; the old stream (and its
    // temporary file) is released.
    void open(size_t memoryLimit = PreviewMemoryLimit);
    // Appends one page; the first page writes the header first.
    void addPage(std::span<const std::uint8_t> picture);
    // Rewrites the header with the final page count, the flag and the time.
    void finish();
    // The picture of page n, or nothing when n is not 1..PageCount. Raises
    // EReportError when the records of a loaded file do not hold together.
    std::optional<std::vector<std::uint8_t>> getPage(int n);
    void clear();

    // Writes the whole stream to a new file, replacing one of that name: a
    // finished temporary file on the same file system is moved there (and
    // read there from then on), anything else copied.
    void saveToFile(const std::string& name);
    // Opens a saved file as the stream once its header, every page record
    // and every page picture have checked out; otherwise raises EReportError
    // naming the file and the page, and keeps the current stream.
    void loadFromFile(const std::string& name);
    // Exchanges the pages (and streams) of two stores.
    void swap(TRepPageList& other);

    // The report's title, kept in the header's reserved bytes so that a loaded
    // file prints and shows under its report's name; empty when the file
    // carries none.
    const std::string& title() const { return title_; }
    void setTitle(const std::string& title) { title_ = title; }

    int PageCount() const { return pageCount_; }
    bool Compression() const { return compression_; }
    // Applies to pages added from now on.
    void setCompression(bool on) { compression_ = on; }
    TRepStream* stream() { return stream_.get(); }
    size_t headerSize() const { return headerSize_; }

private:
    void writeHeader();
    std::uint32_t readU32();
    void writeU32(std::uint32_t value);
    void locate(int n);
    void checkRecordStart(std::uint64_t offset) const;
    static void checkRecords(TRepStream& file, const std::string& name, std::uint64_t header, std::int32_t count,
                             bool coded, bool sealed);
    static std::vector<std::uint8_t> decodePicture(std::span<const std::uint8_t> data);
    [[noreturn]] void damaged() const;
    std::vector<std::uint8_t> readRecord(int n);

    std::recursive_mutex lock_;
    std::unique_ptr<TRepStream> stream_;
    int pageCount_ = 0;
    bool compression_ = false;
    size_t headerSize_ = HeaderSize;
    std::string title_;
    bool sealed_ = true;  // every picture so far ends with its seal
};
