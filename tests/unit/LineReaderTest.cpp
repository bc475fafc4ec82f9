#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "platform/LineReader.h"

namespace quillon {
namespace {

using Lines = std::vector<std::string>;

// Serves a byte string in pieces of at most `piece` bytes, then optionally fails.
struct PieceSource final : ByteSource {
    PieceSource(std::string b, std::size_t p, Status f) : bytes(std::move(b)), piece(p), failAtEnd(f) {}
    Status read(char* buffer, std::size_t capacity, std::size_t& got) override {
        got = std::min({capacity, piece, bytes.size() - offset});
        if (got == 0 && !succeeded(failAtEnd)) return failAtEnd;
        std::memcpy(buffer, bytes.data() + offset, got);
        offset += got;
        return Status::Ok;
    }
    std::string bytes;
    std::size_t piece, offset = 0;
    Status failAtEnd;
};

Lines readAll(std::string bytes, std::size_t piece, Status failAtEnd = Status::Ok, Status expected = Status::Ok) {
    LineReader reader(std::make_unique<PieceSource>(std::move(bytes), piece, failAtEnd));
    Lines lines;
    for (std::string line; reader.readLine(line);) lines.push_back(line);
    EXPECT_EQ(reader.status(), expected);
    return lines;
}

TEST(LineReader, SplitsAtEveryKindOfLineEndInAnyPieceSize) {
    struct Row { std::string bytes; Lines lines; };
    const Row rows[] = {
        {"", {}},
        {"a\r\nb", {"a", "b"}},
        {"\r\n\r\n", {"", ""}},
        {"a\n\rb", {"a", "", "b"}},  // LF then CR: two line ends
        // UTF-8 passes byte for byte; a line that is not UTF-8 is Windows-1252, its unused
        // bytes the C1 controls; an overlong or cut sequence is not UTF-8.
        {"Caf\u00e9 \u0434\u043e\u043c \U0001F600\r\nx", {"Caf\u00e9 \u0434\u043e\u043c \U0001F600", "x"}},
        {std::string("\x80\xff\x81\0z\r\n\xc3\xa9", 9), {std::string("\u20ac\u00ff\u0081\0z", 9), "\u00e9"}},
        {"\xc0\xaf \xe2\x82", {"\u00c0\u00af \u00e2\u201a"}},
        // UTF-16LE after its byte-order mark: a line end is a whole code unit, never a byte of one.
        {std::string("\xff\xfe" "a\0\r\0\n\0\x0a\x01\r\0\r\0\n\0=\xd8\0\xde", 20), {"a", "\u010a", "", "\U0001F600"}},
        {std::string("\xff\xfe" "\x34\x04\0\xd8\r\0", 8), {"\u0434\ufffd"}},  // a lone surrogate
    };
    // Piece sizes 1..3 put every CR LF across a chunk boundary somewhere.
    for (const std::size_t piece : {std::size_t{1}, std::size_t{2}, std::size_t{3}, LineReader::ChunkSize})
        for (const auto& r : rows)
            EXPECT_EQ(readAll(r.bytes, piece), r.lines) << "piece " << piece << ", " << testing::PrintToString(r.bytes);
}

TEST(LineReader, ChunkBoundariesNeitherSplitALineEndNorALine) {
    // The CR is the last byte of the first 64 KiB chunk, the LF the first of the next.
    const std::string first(LineReader::ChunkSize - 1, 'a');
    EXPECT_EQ(readAll(first + "\r\nnext\r\n", LineReader::ChunkSize), (Lines{first, "next"}));
    EXPECT_EQ(readAll("a\r\n" + first + first + "\r\nb", LineReader::ChunkSize), (Lines{"a", first + first, "b"}));
}

TEST(LineReader, TheDecoderGivenTakesOnlyLinesThatAreNotUtf8) {
    LineReader reader(std::make_unique<PieceSource>("caf\xe9\r\n\xc3\xa9", 3, Status::Ok),
                      [](std::string_view bytes) { return "<" + std::string(bytes) + ">"; });
    Lines lines;
    for (std::string line; reader.readLine(line);) lines.push_back(line);
    EXPECT_EQ(lines, (Lines{"<caf\xe9>", "\u00e9"}));
}

TEST(LineReader, AReadErrorEndsReadingAndDropsTheCutLine) {
    EXPECT_EQ(readAll("whole\r\ncut", 4, Status::ReadFault, Status::ReadFault), (Lines{"whole"}));
}

}  // namespace
}  // namespace quillon
