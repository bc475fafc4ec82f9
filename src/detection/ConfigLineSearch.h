#pragma once
// A forward search through a text file that goes on from where the previous search stopped
// and, at the end, wraps once to the first line: when two files are in step each search costs
// one line, and the file is never held in memory.
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace quillon::detection {

class ConfigLineSearch {
public:
    ConfigLineSearch(FileSystem& files, std::string path);

    // Reads on until a line satisfies `match`, wrapping once; false when no line of the file
    // does. The search stays after the matching line.
    bool find(const std::function<bool(std::string_view)>& match);
    // Reads on to the next non-empty line; "" when the file ends first.
    std::string nextNonEmpty();
    // Starts again at the first line.
    void rewind();
    // False once the file could not be opened or read in full: results are then not to be trusted.
    bool readable() const { return readable_; }

private:
    bool readLine(std::string& line);

    FileSystem& files_;
    std::string path_;
    std::unique_ptr<TextReader> reader_;
    std::size_t position_ = 0;  // lines read since the file was (re)opened
    bool readable_ = true;
};

}  // namespace quillon::detection
