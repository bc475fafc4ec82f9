#include "platform/LineReader.h"

#include <algorithm>
#include <cstring>

#include "platform/Utf16.h"
#include "platform/Utf8.h"

namespace quillon {

LineReader::LineReader(std::unique_ptr<ByteSource> source, Decoder decoder)
    : source_(std::move(source)),
      decoder_(decoder ? std::move(decoder) : Decoder(decodeWindows1252)),
      chunk_(ChunkSize) {}

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

bool LineReader::ensure(std::size_t count) {
    while (end_ - pos_ < count) {
        if (exhausted_) return false;
        std::memmove(chunk_.data(), chunk_.data() + pos_, end_ - pos_);
        end_ -= pos_;
        pos_ = 0;
        std::size_t got = 0;
        const std::size_t room = chunk_.size() - end_;
        const Status s = source_->read(chunk_.data() + end_, room, got);
        if (!succeeded(s)) status_ = s;
        if (!succeeded(s) || got == 0) {
            exhausted_ = true;
            return false;
        }
        got = std::min(got, room);
        end_ += got;
        consumed_ += got;
    }
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

bool LineReader::readUtf16Line(std::string& line) {
    std::u16string units;
    const auto unitAt = [&](std::size_t at) {
        return static_cast<char16_t>(static_cast<unsigned char>(chunk_[at]) | static_cast<unsigned char>(chunk_[at + 1]) << 8);
    };
    bool ended = false;
    for (;;) {
        if (!ensure(2)) break;
        const char16_t unit = unitAt(pos_);
        pos_ += 2;
        if (unit == u'\r' || unit == u'\n') {
            if (unit == u'\r' && ensure(2) && unitAt(pos_) == u'\n') pos_ += 2;
            ended = true;
            break;
        }
        units += unit;
    }
    // A line cut short by a read error is not a line.
    if (!succeeded(status_)) return false;
    line = utf8FromUtf16(units);
    return ended || !units.empty();
}

bool LineReader::readLine(std::string& line) {
    line.clear();
    if (!formKnown_ && position() == 0) {
        formKnown_ = true;
        utf16_ = ensure(2) && chunk_[pos_] == '\xFF' && chunk_[pos_ + 1] == '\xFE';
        if (utf16_) pos_ += 2;
    }
    if (utf16_) {
        // The byte-order mark again, after a seek back to the start.
        if (position() == 0 && ensure(2)) pos_ += 2;
        return readUtf16Line(line);
    }
    for (;;) {
        if (pos_ == end_ && !fill()) {
            // A line cut short by a read error is not a line.
            if (!succeeded(status_)) line.clear();
            if (!isValidUtf8(line)) line = decoder_(line);
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
        if (!isValidUtf8(line)) line = decoder_(line);
        return true;
    }
}

}  // namespace quillon
