#pragma once
// The one writing rule of every TextWriter: bytes gather in a buffer and go out in chunks;
// the first failure sticks, later writes are refused with it and close() reports it.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace quillon {

// Where a BufferedWriter's bytes go: an open file, an in-memory file...
class ByteSink {
public:
    virtual ~ByteSink() = default;
    // Writes all of `bytes` or fails.
    virtual Status write(std::string_view bytes) = 0;
    // Releases the file; called once.
    virtual Status close() = 0;
};

class BufferedWriter final : public TextWriter {
public:
    static constexpr std::size_t ChunkSize = 64 * 1024;

    // capacity 0 writes every piece through at once.
    explicit BufferedWriter(std::unique_ptr<ByteSink> sink, std::size_t capacity = ChunkSize);
    // Closes a writer its owner forgot to close; that close's result is lost.
    ~BufferedWriter() override;
    BufferedWriter(const BufferedWriter&) = delete;
    BufferedWriter& operator=(const BufferedWriter&) = delete;

    Status write(std::string_view bytes) override;
    Status close() override;

private:
    Status send(std::string_view bytes);
    Status flush();

    std::unique_ptr<ByteSink> sink_;
    std::size_t capacity_;
    std::string buffer_;
    Status first_ = Status::Ok;
    bool closed_ = false;
};

}  // namespace quillon
