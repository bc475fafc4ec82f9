#include <gtest/gtest.h>

#include "platform/BufferedWriter.h"

namespace quillon {
namespace {

// Records what reaches the file, piece by piece; can fail from the n-th write on.
struct SinkLog {
    std::vector<std::string> pieces;
    int closes = 0;
};

class RecordingSink final : public ByteSink {
public:
    RecordingSink(SinkLog& log, int failFromWrite = -1, Status failure = Status::DiskFull, Status closeResult = Status::Ok)
        : log_(log), failFrom_(failFromWrite), failure_(failure), closeResult_(closeResult) {}

    Status write(std::string_view bytes) override {
        if (failFrom_ >= 0 && writes_++ >= failFrom_) return failure_;
        log_.pieces.emplace_back(bytes);
        return Status::Ok;
    }
    Status close() override {
        ++log_.closes;
        return closeResult_;
    }

private:
    SinkLog& log_;
    int failFrom_;
    int writes_ = 0;
    Status failure_;
    Status closeResult_;
};

std::string joined(const SinkLog& log) {
    std::string all;
    for (const auto& p : log.pieces) all += p;
    return all;
}

TEST(BufferedWriter, GathersWritesIntoChunksOfItsCapacity) {
    SinkLog log;
    BufferedWriter w(std::make_unique<RecordingSink>(log), 8);
    for (const char* piece : {"abc", "def", "gh", "ij"}) EXPECT_EQ(w.write(piece), Status::Ok);
    EXPECT_EQ(log.pieces, (std::vector<std::string>{"abcdefgh"})) << "nothing goes out before the buffer is full";
    EXPECT_EQ(w.write("0123456789"), Status::Ok);  // larger than the buffer: straight through
    EXPECT_EQ(w.writeLine("end"), Status::Ok);
    EXPECT_EQ(w.close(), Status::Ok);
    EXPECT_EQ(joined(log), "abcdefghij0123456789end\r\n");
    EXPECT_EQ(log.closes, 1);
}

TEST(BufferedWriter, TheFirstFailureSticksUntilClose) {
    struct Row { const char* what; int failFrom; Status closeResult; Status expected; };
    const Row rows[] = {
        {"write fails", 1, Status::Ok, Status::DiskFull},
        {"close fails", -1, Status::WriteFault, Status::WriteFault},
        {"write fails, then close fails too", 0, Status::WriteFault, Status::DiskFull},
    };
    for (const auto& r : rows) {
        SinkLog log;
        BufferedWriter w(std::make_unique<RecordingSink>(log, r.failFrom, Status::DiskFull, r.closeResult), 0);
        w.write("one");
        w.write("two");
        w.write("three");
        EXPECT_EQ(w.close(), r.expected) << r.what;
        EXPECT_EQ(w.close(), r.expected) << r.what << ": a second close says the same";
        EXPECT_EQ(log.closes, 1) << r.what;
        EXPECT_EQ(log.pieces.size(), r.failFrom < 0 ? 3u : static_cast<std::size_t>(r.failFrom)) << r.what
            << ": nothing is written after a failure";
    }
}

TEST(BufferedWriter, WriteReportsTheStuckFailure) {
    SinkLog log;
    BufferedWriter w(std::make_unique<RecordingSink>(log, 0), 0);
    EXPECT_EQ(w.write("a"), Status::DiskFull);
    EXPECT_EQ(w.writeLine("b"), Status::DiskFull);
}

TEST(BufferedWriter, DestroyingAnOpenWriterStillWritesAndCloses) {
    SinkLog log;
    {
        BufferedWriter w(std::make_unique<RecordingSink>(log));
        w.writeLine("kept");
    }
    EXPECT_EQ(joined(log), "kept\r\n");
    EXPECT_EQ(log.closes, 1);
}

TEST(BufferedWriter, WritingAfterCloseIsRefused) {
    SinkLog log;
    BufferedWriter w(std::make_unique<RecordingSink>(log));
    EXPECT_EQ(w.close(), Status::Ok);
    EXPECT_EQ(w.write("late"), Status::InvalidHandle);
    EXPECT_TRUE(log.pieces.empty());
}

}  // namespace
}  // namespace quillon
