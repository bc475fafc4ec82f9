#include "platform/BufferedWriter.h"

namespace quillon {

BufferedWriter::BufferedWriter(std::unique_ptr<ByteSink> sink, std::size_t capacity)
    : sink_(std::move(sink)), capacity_(capacity) {
    buffer_.reserve(capacity_);
}

BufferedWriter::~BufferedWriter() {
    if (!closed_) static_cast<void>(close());  // an owner that wanted the result closed first
}

Status BufferedWriter::send(std::string_view bytes) {
    if (succeeded(first_)) first_ = sink_->write(bytes);
    return first_;
}

Status BufferedWriter::flush() {
    if (buffer_.empty()) return first_;
    const Status s = send(buffer_);
    buffer_.clear();
    return s;
}

Status BufferedWriter::write(std::string_view bytes) {
    if (closed_) return Status::InvalidHandle;
    if (!succeeded(first_)) return first_;
    if (buffer_.size() + bytes.size() <= capacity_ && capacity_ > 0) {
        buffer_.append(bytes);
        return first_;
    }
    if (!succeeded(flush())) return first_;
    // A piece as large as the buffer gains nothing from a copy.
    if (bytes.size() >= capacity_) return send(bytes);
    buffer_.append(bytes);
    return first_;
}

Status BufferedWriter::close() {
    if (closed_) return first_;
    closed_ = true;
    static_cast<void>(flush());  // a failure is kept in first_
    const Status s = sink_->close();
    if (succeeded(first_)) first_ = s;
    return first_;
}

}  // namespace quillon
