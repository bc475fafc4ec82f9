#pragma once
// The one line-splitting rule of every TextReader, over any source of bytes. A file is read in
// chunks and never held whole, so a million-line file costs one chunk of memory.
// Lines come out as UTF-8: a UTF-8 line (plain ASCII included) byte for byte, any other line
// through the decoder (files written before the program wrote UTF-8 are in the ANSI code
// page), and the lines of a file starting with the UTF-16LE byte-order mark from UTF-16.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace quillon {

// Where a LineReader's bytes come from: an open file, an in-memory file...
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Fills up to `capacity` bytes at `buffer` and sets `got`; got = 0 means the end.
    virtual Status read(char* buffer, std::size_t capacity, std::size_t& got) = 0;
    // The next read starts at `offset` bytes from the beginning; a source that cannot go
    // back says NotSupported.
    virtual Status seek(std::uint64_t /*offset*/) { return Status::NotSupported; }
};

class LineReader final : public TextReader {
public:
    static constexpr std::size_t ChunkSize = 64 * 1024;
    // A seek reads this much around its target, not a whole chunk: a reader that jumps about
    // wants a block of lines, and often the block just before the last one.
    static constexpr std::size_t SeekReadSize = 4 * 1024;

    // Gives the UTF-8 of a line that is not UTF-8.
    using Decoder = std::function<std::string(std::string_view)>;

    // The default decoder reads Windows-1252; the Win32 adapter may pass the system's code page.
    explicit LineReader(std::unique_ptr<ByteSource> source, Decoder decoder = {});

    bool readLine(std::string& line) override;
    Status status() const override { return status_; }
    std::uint64_t position() const override { return consumed_ - (end_ - pos_); }
    Status seek(std::uint64_t offset) override;

private:
    bool fill();
    // At least `count` bytes ahead of pos_, keeping those already there; false at the end.
    bool ensure(std::size_t count);
    bool readUtf16Line(std::string& line);

    std::unique_ptr<ByteSource> source_;
    Decoder decoder_;
    std::vector<char> chunk_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    std::uint64_t consumed_ = 0;  // bytes taken from the source so far
    std::size_t readSize_ = ChunkSize;  // grows back to a chunk after a seek
    bool exhausted_ = false;
    bool formKnown_ = false;  // whether the start was checked for a byte-order mark
    bool utf16_ = false;
    Status status_ = Status::Ok;
};

}  // namespace quillon
