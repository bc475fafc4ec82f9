// The portable text pieces every file goes through: line reading, buffered writing and
// comparison without regard to case.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "platform/BufferedWriter.h"
#include "platform/LineReader.h"
#include "platform/TextCompare.h"

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

Lines readAll(std::string bytes, std::size_t piece, Status failAtEnd = Status::Ok, LineReader::Decoder decoder = {}) {
    LineReader reader(std::make_unique<PieceSource>(std::move(bytes), piece, failAtEnd), std::move(decoder));
    Lines lines;
    for (std::string line; reader.readLine(line);) lines.push_back(line);
    EXPECT_EQ(reader.status(), failAtEnd);
    return lines;
}

TEST(LineReader, SplitsAtEveryKindOfLineEndInAnyPieceSize) {
    // The CR is the last byte of the first 64 KiB chunk, the LF the first of the next.
    const std::string first(LineReader::ChunkSize - 1, 'a');
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
        {first + "\r\nnext\r\n", {first, "next"}},
        {"a\r\n" + first + first + "\r\nb", {"a", first + first, "b"}},
    };
    // Piece sizes 1..3 put every CR LF across a chunk boundary somewhere.
    for (const std::size_t piece : {std::size_t{1}, std::size_t{2}, std::size_t{3}, LineReader::ChunkSize})
        for (const auto& r : rows)
            EXPECT_EQ(readAll(r.bytes, piece), r.lines)
                << "piece " << piece << ", " << testing::PrintToString(r.bytes.substr(0, 40));
    const auto marked = [](std::string_view bytes) { return "<" + std::string(bytes) + ">"; };
    EXPECT_EQ(readAll("caf\xe9\r\n\xc3\xa9", 3, Status::Ok, marked), (Lines{"<caf\xe9>", "\u00e9"}))
        << "the decoder given takes only lines that are not UTF-8";
    EXPECT_EQ(readAll("whole\r\ncut", 4, Status::ReadFault), (Lines{"whole"})) << "a read error drops the cut line";
}

// Keeps what reaches the file, piece by piece; refuses every write from the failFrom-th on.
struct SinkLog {
    std::vector<std::string> pieces;
    int closes = 0;
    int failFrom = -1;
    Status closeResult = Status::Ok;
};

struct RecordingSink final : ByteSink {
    explicit RecordingSink(SinkLog& l) : log(l) {}
    Status write(std::string_view bytes) override {
        if (log.failFrom >= 0 && std::ssize(log.pieces) >= log.failFrom) return Status::DiskFull;
        log.pieces.emplace_back(bytes);
        return Status::Ok;
    }
    Status close() override { return ++log.closes, log.closeResult; }
    SinkLog& log;
};

TEST(BufferedWriter, TheFirstFailureSticksUntilCloseAndAForgottenWriterStillCloses) {
    struct Row { const char* what; int failFrom; Status closeResult; Status expected; };
    const Row rows[] = {
        {"write fails", 1, Status::Ok, Status::DiskFull},
        {"close fails", -1, Status::WriteFault, Status::WriteFault},
        {"write fails, then close fails too", 0, Status::WriteFault, Status::DiskFull},
    };
    for (const auto& r : rows) {
        SinkLog log{{}, 0, r.failFrom, r.closeResult};
        BufferedWriter w(std::make_unique<RecordingSink>(log), 0);
        for (const char* piece : {"one", "two", "three"}) static_cast<void>(w.write(piece));  // a failure sticks until close()
        EXPECT_EQ(w.write("four"), r.failFrom < 0 ? Status::Ok : Status::DiskFull) << r.what;
        EXPECT_EQ(w.close(), r.expected) << r.what;
        EXPECT_EQ(log.closes, 1) << r.what;
        EXPECT_EQ(log.pieces.size(), r.failFrom < 0 ? 4u : static_cast<std::size_t>(r.failFrom)) << r.what;
    }
    SinkLog log;
    static_cast<void>(BufferedWriter(std::make_unique<RecordingSink>(log)).writeLine("kept"));  // checked through the sink
    EXPECT_EQ(log.pieces, std::vector<std::string>{"kept\r\n"});
    EXPECT_EQ(log.closes, 1);
}

TEST(TextCompare, MatchesCaseAsWindowsDoesInAnyScript) {
    struct Row { std::string a, b; bool equal; };
    const Row rows[] = {
        {"README.TXT", "readme.txt", true}, {"_a", "_A", true}, {"\u0414\u041e\u041c.TXT", "\u0434\u043e\u043c.txt", true},
        {"\u03a9\u03a3", "\u03c9\u03c2", true}, {"\u00c9T\u00c9", "\u00e9t\u00e9", true}, {"\u00ff", "\u0178", true},
        {"\u2c65", "\u023a", true},  // lengths differ: three bytes against two
        {"\U0001F600", "\U0001F600", true}, {"\U00010428", "\U00010400", false},  // past U+FFFF: as two surrogates
        {"\u00df", "SS", false}, {"\u00df", "\u1e9e", false}, {"\u0130", "i", false}, {"\u0130", "I", false},
        {"\u0131", "I", false}, {"\u017f", "S", false}, {"\u212a", "k", false}, {"\u00b5", "\u039c", false},
        {"\xe9", "\xc9", false}, {"\xc3", "\xc3\xa9", false}, {"\xff", "\xff", true}, {"a\xc3", "A\xc3", true},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(equalsNoCase(r.a, r.b), r.equal) << r.a << " / " << r.b;
        EXPECT_EQ(toLowerAnsi(r.a) == toLowerAnsi(r.b), r.equal) << r.a << " / " << r.b;
    }
}

}  // namespace
}  // namespace quillon
