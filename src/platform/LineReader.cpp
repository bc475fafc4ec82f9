#include "platform/LineReader.h"

#include <algorithm>

namespace quillon {

LineReader::LineReader(std::unique_ptr<ByteSource> source)
    : source_(std::move(source)), chunk_(ChunkSize) {}

bool LineReader::fill() {
    pos_ = end_ = 0;
    if (exhausted_) return false;
    std::size_t got = 0;
    const Status s = source_->read(chunk_.data(), chunk_.size(), got);
    if (!succeeded(s)) status_ = s;
    if (!succeeded(s) || got == 0) {
        exhausted_ = true;
        return false;
    }
    end_ = std::min(got, chunk_.size());
    return true;
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
        if (swallowLf_) {
            swallowLf_ = false;
            if (data[pos_] == '\n') {
                ++pos_;
                continue;
            }
        }
        const char* const begin = data + pos_;
        const char* const stop = data + end_;
        const char* const eol = std::find_if(begin, stop, [](char c) { return c == '\r' || c == '\n'; });
        line.append(begin, eol);
        if (eol == stop) {
            pos_ = end_;
            continue;
        }
        swallowLf_ = *eol == '\r';
        pos_ = static_cast<std::size_t>(eol - data) + 1;
        return true;
    }
}

}  // namespace quillon
