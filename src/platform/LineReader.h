#pragma once
// The one line-splitting rule of every TextReader, over any source of bytes. A file is read in
// chunks and never held whole, so a million-line file costs one chunk of memory.
#include <cstddef>
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
};

class LineReader final : public TextReader {
public:
    static constexpr std::size_t ChunkSize = 64 * 1024;

    explicit LineReader(std::unique_ptr<ByteSource> source);

    bool readLine(std::string& line) override;
    Status status() const override { return status_; }

private:
    bool fill();

    std::unique_ptr<ByteSource> source_;
    std::vector<char> chunk_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool exhausted_ = false;
    // The previous line ended in CR: an LF that follows (possibly in the next chunk) belongs
    // to the same line end.
    bool swallowLf_ = false;
    Status status_ = Status::Ok;
};

}  // namespace quillon
