#include "platform/LineReader.h"

#include <algorithm>

namespace quillon {

LineReader::LineReader(std::unique_ptr<ByteSource> source)
    : source_(std::move(source)), chunk_(ChunkSize) {}

bool LineReader::fill() {
    pos_ = end_ = 0;
    if (exhausted_) return false;
    std::size_t got = 0;
    const std::size_t ask = readSize_;
    readSize_ = std::min(readSize_ * 2, chunk_.size());
    const Status s = source_->read(chunk_.data(), ask, got);
    if (!succeeded(s)) status_ = s;
    if (!succeeded(s) || got == 0) {
        exhausted_ = true;
        return false;
    }
    end_ = std::min(got, ask);
    consumed_ += end_;
    return true;
}

Status LineReader::seek(std::uint64_t offset) {
    const std::uint64_t chunkStart = consumed_ - end_;
    if (succeeded(status_) && end_ > 0 && offset >= chunkStart && offset <= consumed_) {
        pos_ = static_cast<std::size_t>(offset - chunkStart);
        return Status::Ok;
    }
    // Start a little before the target, so that a few jumps back land in the same chunk.
    const std::uint64_t start = offset >= SeekReadSize ? offset - offset % SeekReadSize - SeekReadSize : 0;
    pos_ = end_ = 0;
    exhausted_ = false;
    consumed_ = start;
    readSize_ = 3 * SeekReadSize;
    status_ = source_->seek(start);
    if (succeeded(status_) && fill() && offset - start <= end_) {
        pos_ = static_cast<std::size_t>(offset - start);
        return Status::Ok;
    }
    if (!succeeded(status_)) {
        exhausted_ = true;
        return status_;
    }
    // The file ends before the target.
    pos_ = end_ = 0;
    consumed_ = offset;
    status_ = source_->seek(offset);
    exhausted_ = !succeeded(status_);
    return status_;
}

bool LineReader::readLine(std::string& line) {
    line.clear();
    for (;;) {
        if (pos_ == end_ && !fill()) {
            // A line cut short by a read error is not a line.
            if (!succeeded(status_)) line.clear();
            return !line.empty();
        }
        const char* const data = chunk_.data();
        const char* const begin = data + pos_;
        const char* const stop = data + end_;
        const char* const eol = std::find_if(begin, stop, [](char c) { return c == '\r' || c == '\n'; });
        line.append(begin, eol);
        if (eol == stop) {
            pos_ = end_;
            continue;
        }
        const bool cr = *eol == '\r';
        pos_ = static_cast<std::size_t>(eol - data) + 1;
        // The LF of a CR LF is taken with its line, even from the next chunk, so that
        // position() always names the start of a line.
        if (cr && (pos_ < end_ || fill()) && chunk_[pos_] == '\n') ++pos_;
        return true;
    }
}

}  // namespace quillon
