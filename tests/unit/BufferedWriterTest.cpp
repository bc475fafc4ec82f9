#include <gtest/gtest.h>

#include "platform/BufferedWriter.h"

namespace quillon {
namespace {

// Keeps what reaches the file, piece by piece; refuses every write from the n-th on.
struct SinkLog {
    std::vector<std::string> pieces;
    int closes = 0;
    int failFrom = -1;
    Status closeResult = Status::Ok;
};

class RecordingSink final : public ByteSink {
public:
    explicit RecordingSink(SinkLog& log) : log_(log) {}
    Status write(std::string_view bytes) override {
        if (log_.failFrom >= 0 && writes_++ >= log_.failFrom) return Status::DiskFull;
        log_.pieces.emplace_back(bytes);
        return Status::Ok;
    }
    Status close() override { return ++log_.closes, log_.closeResult; }

private:
    SinkLog& log_;
    int writes_ = 0;
};

TEST(BufferedWriter, TheFirstFailureSticksUntilClose) {
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
        EXPECT_EQ(w.close(), r.expected) << r.what << ": a second close says the same";
        EXPECT_EQ(log.closes, 1) << r.what;
        EXPECT_EQ(log.pieces.size(), r.failFrom < 0 ? 4u : static_cast<std::size_t>(r.failFrom)) << r.what;
    }
}

TEST(BufferedWriter, DestroyingAnOpenWriterStillWritesAndCloses) {
    SinkLog log;
    static_cast<void>(BufferedWriter(std::make_unique<RecordingSink>(log)).writeLine("kept"));  // checked through the sink
    EXPECT_EQ(log.pieces, std::vector<std::string>{"kept\r\n"});
    EXPECT_EQ(log.closes, 1);
}

}  // namespace
}  // namespace quillon
