#include "LocalFiles.h"

#include <filesystem>
#include <fstream>

#include "platform/BufferedWriter.h"
#include "platform/LineReader.h"

namespace quillon::bench {

namespace {

class StreamSource final : public ByteSource {
public:
    explicit StreamSource(std::ifstream in) : in_(std::move(in)) {}
    Status read(char* buffer, std::size_t capacity, std::size_t& got) override {
        in_.read(buffer, static_cast<std::streamsize>(capacity));
        got = static_cast<std::size_t>(in_.gcount());
        return in_.bad() ? Status::ReadFault : Status::Ok;
    }
    Status seek(std::uint64_t offset) override {
        in_.clear();
        in_.seekg(static_cast<std::streamoff>(offset));
        return in_ ? Status::Ok : Status::ReadFault;
    }

private:
    std::ifstream in_;
};

class StreamSink final : public ByteSink {
public:
    explicit StreamSink(std::ofstream out) : out_(std::move(out)) {}
    Status write(std::string_view bytes) override {
        out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return out_ ? Status::Ok : Status::WriteFault;
    }
    Status close() override {
        out_.close();
        return out_ ? Status::Ok : Status::WriteFault;
    }

private:
    std::ofstream out_;
};

}  // namespace

Status LocalFiles::info(std::string_view path, FileInfo& out) {
    std::error_code error;
    const std::filesystem::path p{std::string(path)};
    if (!std::filesystem::exists(p, error)) return Status::FileNotFound;
    out = {};
    out.name = p.filename().string();
    out.attributes = std::filesystem::is_directory(p, error) ? FileAttr::Directory : FileAttr::Archive;
    if (out.attributes == FileAttr::Archive) out.size = std::filesystem::file_size(p, error);
    return Status::Ok;
}

Status LocalFiles::openRead(std::string_view path, std::unique_ptr<TextReader>& out) {
    std::ifstream in{std::string(path), std::ios::binary};
    if (!in) return Status::FileNotFound;
    out = std::make_unique<LineReader>(std::make_unique<StreamSource>(std::move(in)));
    return Status::Ok;
}

Status LocalFiles::openWrite(std::string_view path, WriteMode mode, std::unique_ptr<TextWriter>& out) {
    const auto how = std::ios::binary | (mode == WriteMode::Append ? std::ios::app : std::ios::trunc);
    std::ofstream file{std::string(path), how};
    if (!file) return Status::PathNotFound;
    out = std::make_unique<BufferedWriter>(std::make_unique<StreamSink>(std::move(file)));
    return Status::Ok;
}

Status LocalFiles::deleteFile(std::string_view path) {
    std::error_code error;
    return std::filesystem::remove(std::filesystem::path{std::string(path)}, error) ? Status::Ok : Status::FileNotFound;
}

}  // namespace quillon::bench
