#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "platform/LineReader.h"

namespace quillon {
namespace {

// Serves a byte string in pieces of at most `piece` bytes, then optionally fails.
class PieceSource final : public ByteSource {
public:
    PieceSource(std::string bytes, std::size_t piece, Status failAtEnd = Status::Ok)
        : bytes_(std::move(bytes)), piece_(piece), failAtEnd_(failAtEnd) {}

    Status read(char* buffer, std::size_t capacity, std::size_t& got) override {
        got = std::min({capacity, piece_, bytes_.size() - offset_});
        if (got == 0 && !succeeded(failAtEnd_)) return failAtEnd_;
        std::memcpy(buffer, bytes_.data() + offset_, got);
        offset_ += got;
        return Status::Ok;
    }

private:
    std::string bytes_;
    std::size_t piece_;
    Status failAtEnd_;
    std::size_t offset_ = 0;
};

std::vector<std::string> readAll(LineReader& reader) {
    std::vector<std::string> lines;
    std::string line;
    while (reader.readLine(line)) lines.push_back(line);
    return lines;
}

using Lines = std::vector<std::string>;

TEST(LineReader, SplitsAtEveryKindOfLineEndInAnyPieceSize) {
    struct Row { std::string bytes; Lines lines; };
    const Row rows[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"a\r\nb", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"\r\n", {""}},
        {"\r\n\r\n", {"", ""}},
        {"a\n\rb", {"a", "", "b"}},        // LF then CR: two line ends
        {"a\r\r\nb", {"a", "", "b"}},
        {"a\n\nb", {"a", "", "b"}},
        {"a\r\n\n", {"a", ""}},
        {"ab\r\ncd\r\nef", {"ab", "cd", "ef"}},
        {std::string("\x80\xff\0z", 4), {std::string("\x80\xff\0z", 4)}},  // bytes pass unchanged
    };
    // Piece sizes 1..3 put every CR LF across a chunk boundary somewhere.
    for (const std::size_t piece : {std::size_t{1}, std::size_t{2}, std::size_t{3}, LineReader::ChunkSize}) {
        for (const auto& r : rows) {
            LineReader reader(std::make_unique<PieceSource>(r.bytes, piece));
            EXPECT_EQ(readAll(reader), r.lines) << "piece " << piece << ", input " << testing::PrintToString(r.bytes);
            EXPECT_EQ(reader.status(), Status::Ok);
        }
    }
}

TEST(LineReader, CrLfSplitAcrossFullChunksIsOneLineEnd) {
    // The CR is the last byte of the first 64 KiB chunk, the LF the first of the next.
    const std::string first(LineReader::ChunkSize - 1, 'a');
    LineReader reader(std::make_unique<PieceSource>(first + "\r\nnext\r\n", LineReader::ChunkSize));
    EXPECT_EQ(readAll(reader), (Lines{first, "next"}));
}

TEST(LineReader, LinesLongerThanAChunkComeWhole) {
    const std::string longLine(3 * LineReader::ChunkSize + 17, 'x');
    LineReader reader(std::make_unique<PieceSource>("a\r\n" + longLine + "\r\nb", LineReader::ChunkSize));
    EXPECT_EQ(readAll(reader), (Lines{"a", longLine, "b"}));
}

TEST(LineReader, AReadErrorEndsReadingAndDropsTheCutLine) {
    LineReader reader(std::make_unique<PieceSource>("whole\r\ncut", 4, Status::ReadFault));
    EXPECT_EQ(readAll(reader), (Lines{"whole"}));
    EXPECT_EQ(reader.status(), Status::ReadFault);
    std::string line = "stale";
    EXPECT_FALSE(reader.readLine(line)) << "stays ended";
    EXPECT_TRUE(line.empty());
}

}  // namespace
}  // namespace quillon
