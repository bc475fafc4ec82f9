#include "detection/ConfigLineSearch.h"

namespace quillon::detection {

ConfigLineSearch::ConfigLineSearch(FileSystem& files, std::string path) : files_(files), path_(std::move(path)) {
    rewind();
}

void ConfigLineSearch::rewind() {
    reader_.reset();
    position_ = 0;
    if (!succeeded(files_.openRead(path_, reader_))) {
        reader_.reset();
        readable_ = false;
    }
}

bool ConfigLineSearch::readLine(std::string& line) {
    if (!reader_) return false;
    if (reader_->readLine(line)) {
        ++position_;
        return true;
    }
    if (!succeeded(reader_->status())) readable_ = false;
    return false;
}

bool ConfigLineSearch::find(const std::function<bool(std::string_view)>& match) {
    const std::size_t start = position_;
    bool wrapped = false;
    std::string line;
    for (;;) {
        if (wrapped && position_ >= start) return false;
        if (readLine(line)) {
            if (match(line)) return true;
            continue;
        }
        if (wrapped || !readable_) return false;
        rewind();
        wrapped = true;
    }
}

std::string ConfigLineSearch::nextNonEmpty() {
    std::string line;
    while (readLine(line))
        if (!line.empty()) return line;
    return {};
}

}  // namespace quillon::detection
