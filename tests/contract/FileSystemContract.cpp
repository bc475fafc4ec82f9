#include "contract/FileSystemContract.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <vector>

#include "support/FakeFileSystem.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/win32/Conversions.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32FileSystem.h"
#endif

namespace quillon::contract {
namespace {

constexpr std::uint32_t kindBits = FileAttr::ReadOnly | FileAttr::Hidden | FileAttr::System | FileAttr::Directory;

std::int64_t secondsOf(const DateTime& d) {
    return dayNumber(d) * 86400 + d.hour * 3600 + d.minute * 60 + d.second;
}

// --- The fake.

class FakeHeld final : public HeldFile {
public:
    FakeHeld(fakes::FakeFileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) { fs_.holdOpen(path_); }
    ~FakeHeld() override { fs_.release(path_); }

private:
    fakes::FakeFileSystem& fs_;
    std::string path_;
};

class FakeWorld final : public FileSystemWorld {
public:
    FakeWorld() {
        fs_.addDrive('C', DriveType::Fixed, "SYSTEM");
        fs_.addFolder("C:\\Windows");
        fs_.addFolder(scratch_);
        fs_.setNow(now_);
    }
    FileSystem& fs() override { return fs_; }
    const std::string& scratch() const override { return scratch_; }
    std::unique_ptr<HeldFile> holdOpenElsewhere(const std::string& path) override {
        return std::make_unique<FakeHeld>(fs_, path);
    }
    DateTime now() override { return now_; }
    std::string missingDriveRoot() override { return "Q:\\"; }
    bool refusesOverwritingProtectedFiles() const override { return true; }

private:
    fakes::FakeFileSystem fs_;
    std::string scratch_ = "C:\\Temp\\Scratch\\";
    DateTime now_{2026, 3, 4, 5, 6, 7};
};

std::unique_ptr<FileSystemWorld> makeFake() { return std::make_unique<FakeWorld>(); }

#ifdef _WIN32
// --- Windows, in a folder of the test's own under the temporary path.

// Empties and removes a folder through the port, clearing read-only marks on the way.
void removeTree(FileSystem& fs, const std::string& folder) {
    std::unique_ptr<DirectoryListing> listing;
    if (succeeded(fs.list(folder + "*", listing))) {
        FileInfo e;
        while (listing->next(e)) {
            if (e.name == "." || e.name == "..") continue;
            fs.setAttributes(folder + e.name, FileAttr::Normal);
            if (e.attributes & FileAttr::Directory)
                removeTree(fs, folder + e.name + "\\");
            else
                fs.deleteFile(folder + e.name);
        }
    }
    fs.setAttributes(folder, FileAttr::Normal);
    fs.removeFolder(folder);
}

class Win32Held final : public HeldFile {
public:
    explicit Win32Held(const std::string& path)
        : file_(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {
        if (!file_) throw std::runtime_error("cannot hold " + path + " open, error " + std::to_string(GetLastError()));
    }

private:
    win32::FileHandle file_;
};

class Win32World final : public FileSystemWorld {
public:
    Win32World() {
        char temp[MAX_PATH + 1] = {};
        if (GetTempPathA(sizeof temp, temp) == 0) throw std::runtime_error("no temporary path");
        std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(test.begin(), test.end(), '/', '-');
        scratch_ = std::string(temp) + "QuillonFsContract-" + std::to_string(GetCurrentProcessId()) + "-" + test + "\\";
        removeTree(fs_, scratch_);
        const Status s = fs_.createFolder(scratch_);
        if (!succeeded(s)) throw std::runtime_error("cannot create " + scratch_ + ", error " + std::to_string(code(s)));
    }
    ~Win32World() override { removeTree(fs_, scratch_); }

    FileSystem& fs() override { return fs_; }
    const std::string& scratch() const override { return scratch_; }
    std::unique_ptr<HeldFile> holdOpenElsewhere(const std::string& path) override {
        return std::make_unique<Win32Held>(path);
    }
    DateTime now() override {
        SYSTEMTIME st;
        GetLocalTime(&st);
        return win32::toDateTime(st);
    }
    std::string missingDriveRoot() override {
        const DWORD used = GetLogicalDrives();
        for (char letter = 'Y'; letter >= 'D'; --letter)
            if (!(used & (1u << (letter - 'A')))) return std::string(1, letter) + ":\\";
        throw std::runtime_error("every drive letter is in use");
    }
    bool refusesOverwritingProtectedFiles() const override {
        const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
        return !(ntdll && GetProcAddress(ntdll, "wine_get_version"));
    }

private:
    win32::Win32FileSystem fs_;
    std::string scratch_;
};

std::unique_ptr<FileSystemWorld> makeWin32() { return std::make_unique<Win32World>(); }
#endif

// --- The suite.

class FileSystemContract : public ::testing::TestWithParam<FileSystemWorldMaker> {
protected:
    void SetUp() override { world_ = GetParam().make(); }
    void TearDown() override { world_.reset(); }

    FileSystem& fs() { return world_->fs(); }
    std::string at(std::string_view name) const { return world_->scratch() + std::string(name); }

    void writeFile(const std::string& path, std::string_view bytes, WriteMode mode = WriteMode::Create) {
        std::unique_ptr<TextWriter> w;
        ASSERT_EQ(fs().openWrite(path, mode, w), Status::Ok) << path;
        ASSERT_EQ(w->write(bytes), Status::Ok) << path;
        ASSERT_EQ(w->close(), Status::Ok) << path;
    }

    std::vector<std::string> readLines(const std::string& path) {
        std::unique_ptr<TextReader> r;
        std::vector<std::string> lines;
        EXPECT_EQ(fs().openRead(path, r), Status::Ok) << path;
        if (!r) return lines;
        std::string line;
        while (r->readLine(line)) lines.push_back(line);
        EXPECT_EQ(r->status(), Status::Ok) << path;
        return lines;
    }

    Status listAll(const std::string& pattern, std::vector<FileInfo>& entries) {
        entries.clear();
        std::unique_ptr<DirectoryListing> listing;
        const Status s = fs().list(pattern, listing);
        EXPECT_EQ(listing != nullptr, succeeded(s)) << pattern;
        FileInfo e;
        while (listing && listing->next(e)) entries.push_back(e);
        return s;
    }

    static std::vector<std::string> sortedNames(const std::vector<FileInfo>& entries) {
        std::vector<std::string> names;
        for (const auto& e : entries)
            if (e.name != "." && e.name != "..") names.push_back(e.name);
        std::sort(names.begin(), names.end());
        return names;
    }

    Status infoStatus(const std::string& path) {
        FileInfo ignored;
        return fs().info(path, ignored);
    }

    std::unique_ptr<FileSystemWorld> world_;
};

TEST_P(FileSystemContract, ListingGivesEveryEntryWithTheDotsFirst) {
    writeFile(at("plain.txt"), "12345");
    writeFile(at("hidden.tmp"), "");
    writeFile(at("system.dat"), "");
    ASSERT_EQ(fs().setAttributes(at("hidden.tmp"), FileAttr::Hidden), Status::Ok);
    ASSERT_EQ(fs().setAttributes(at("system.dat"), FileAttr::System), Status::Ok);
    ASSERT_EQ(fs().createFolder(at("Sub")), Status::Ok);
    const DateTime now = world_->now();

    for (const char* mask : {"*.*", "*"}) {
        SCOPED_TRACE(mask);
        std::vector<FileInfo> entries;
        ASSERT_EQ(listAll(at(mask), entries), Status::Ok);
        ASSERT_GE(entries.size(), 2u);
        EXPECT_EQ(entries[0].name, ".");
        EXPECT_EQ(entries[1].name, "..");
        EXPECT_TRUE(entries[0].attributes & FileAttr::Directory);
        EXPECT_TRUE(entries[1].attributes & FileAttr::Directory);
        EXPECT_EQ(sortedNames(entries), (std::vector<std::string>{"Sub", "hidden.tmp", "plain.txt", "system.dat"}));

        struct Row { const char* name; std::uint32_t kind; std::uint64_t size; };
        const Row rows[] = {
            {"plain.txt", 0, 5},
            {"hidden.tmp", FileAttr::Hidden, 0},
            {"system.dat", FileAttr::System, 0},
            {"Sub", FileAttr::Directory, 0},
        };
        for (const auto& r : rows) {
            const auto e = std::find_if(entries.begin(), entries.end(), [&](const FileInfo& i) { return i.name == r.name; });
            ASSERT_NE(e, entries.end()) << r.name;
            EXPECT_EQ(e->attributes & kindBits, r.kind) << r.name;
            EXPECT_EQ(e->size, r.size) << r.name;
            EXPECT_LE(std::abs(secondsOf(e->lastWrite) - secondsOf(now)), 120) << r.name;
        }
    }
}

TEST_P(FileSystemContract, ListingMatchesMasksWithoutRegardToCase) {
    for (const char* name : {"zeta.txt", "Alpha.TMP", "b.tmp", "~abc", "noext"}) writeFile(at(name), "x");
    ASSERT_EQ(fs().createFolder(at("Sub")), Status::Ok);

    struct Row { const char* mask; std::vector<std::string> names; };
    const Row rows[] = {
        {"*.tmp", {"Alpha.TMP", "b.tmp"}},
        {"*.TMP", {"Alpha.TMP", "b.tmp"}},
        {"?.tmp", {"b.tmp"}},
        {"~*.*", {"~abc"}},
        {"ALPHA.tmp", {"Alpha.TMP"}},
        {"s*", {"Sub"}},
        {"NoExt", {"noext"}},
        {"*t*", {"Alpha.TMP", "b.tmp", "noext", "zeta.txt"}},
    };
    for (const auto& r : rows) {
        std::vector<FileInfo> entries;
        EXPECT_EQ(listAll(at(r.mask), entries), Status::Ok) << r.mask;
        EXPECT_EQ(sortedNames(entries), r.names) << r.mask;
    }
}

TEST_P(FileSystemContract, ListingThatFindsNothingSaysWhy) {
    writeFile(at("only.txt"), "x");
    struct Row { const char* pattern; Status expected; };
    const Row rows[] = {
        {"nothing*", Status::FileNotFound},
        {"*.none", Status::FileNotFound},
        {"Missing\\*.*", Status::PathNotFound},
        {"Missing\\Deeper\\*", Status::PathNotFound},
    };
    for (const auto& r : rows) {
        std::vector<FileInfo> entries;
        EXPECT_EQ(listAll(at(r.pattern), entries), r.expected) << r.pattern;
        EXPECT_TRUE(entries.empty()) << r.pattern;
    }
}

TEST_P(FileSystemContract, DriveRootListingHasNoDots) {
    std::vector<FileInfo> entries;
    ASSERT_EQ(listAll("C:\\*.*", entries), Status::Ok);
    EXPECT_FALSE(entries.empty());
    for (const auto& e : entries) EXPECT_TRUE(e.name != "." && e.name != "..");
}

TEST_P(FileSystemContract, InfoDescribesFilesFoldersAndRoots) {
    writeFile(at("Report.TXT"), "abc");
    ASSERT_EQ(fs().createFolder(at("Sub")), Status::Ok);

    struct Row { std::string path; std::string name; std::uint32_t kind; std::uint64_t size; };
    const Row rows[] = {
        {at("report.txt"), "Report.TXT", 0, 3},
        {at("Sub"), "Sub", FileAttr::Directory, 0},
        {at("SUB\\"), "Sub", FileAttr::Directory, 0},
    };
    for (const auto& r : rows) {
        FileInfo i;
        ASSERT_EQ(fs().info(r.path, i), Status::Ok) << r.path;
        EXPECT_EQ(i.name, r.name) << r.path;
        EXPECT_EQ(i.attributes & kindBits, r.kind) << r.path;
        EXPECT_EQ(i.size, r.size) << r.path;
        EXPECT_LE(std::abs(secondsOf(i.lastWrite) - secondsOf(world_->now())), 120) << r.path;
    }
    FileInfo root;
    ASSERT_EQ(fs().info("C:\\", root), Status::Ok);
    EXPECT_TRUE(root.attributes & FileAttr::Directory);
}

TEST_P(FileSystemContract, InfoOfWhatIsNotThereSaysWhy) {
    writeFile(at("Report.TXT"), "abc");
    struct Row { const char* path; Status expected; };
    const Row rows[] = {
        {"missing.txt", Status::FileNotFound},
        {"Missing\\x.txt", Status::PathNotFound},
        {"Report.TXT\\x", Status::PathNotFound},
        {"Report.TXT\\", Status::PathNotFound},
        {"*.txt", Status::InvalidName},
    };
    for (const auto& r : rows) EXPECT_EQ(infoStatus(at(r.path)), r.expected) << r.path;
}

TEST_P(FileSystemContract, ExclusiveOpenTellsAFileInUse) {
    writeFile(at("busy.dll"), "x");
    ASSERT_EQ(fs().createFolder(at("Sub")), Status::Ok);
    EXPECT_EQ(fs().openExclusive(at("busy.dll")), Status::Ok);
    {
        const auto held = world_->holdOpenElsewhere(at("busy.dll"));
        EXPECT_EQ(fs().openExclusive(at("busy.dll")), Status::SharingViolation);
    }
    EXPECT_EQ(fs().openExclusive(at("busy.dll")), Status::Ok);
    EXPECT_EQ(fs().openExclusive(at("missing.dll")), Status::FileNotFound);
    EXPECT_EQ(fs().openExclusive(at("Sub")), Status::AccessDenied);
}

TEST_P(FileSystemContract, AFileHeldElsewhereRefusesEverythingButInfo) {
    writeFile(at("held.txt"), "held\r\n");
    writeFile(at("other.txt"), "other\r\n");
    const auto held = world_->holdOpenElsewhere(at("held.txt"));

    std::unique_ptr<TextReader> r;
    std::unique_ptr<TextWriter> w;
    struct Row { const char* what; std::function<Status()> run; Status expected; };
    const Row rows[] = {
        {"read", [&] { return fs().openRead(at("held.txt"), r); }, Status::SharingViolation},
        {"write", [&] { return fs().openWrite(at("held.txt"), WriteMode::Create, w); }, Status::SharingViolation},
        {"append", [&] { return fs().openWrite(at("held.txt"), WriteMode::Append, w); }, Status::SharingViolation},
        {"delete", [&] { return fs().deleteFile(at("held.txt")); }, Status::SharingViolation},
        {"move away", [&] { return fs().moveFile(at("held.txt"), at("moved.txt"), true); }, Status::SharingViolation},
        {"copy from", [&] { return fs().copyFile(at("held.txt"), at("copy.txt"), true); }, Status::SharingViolation},
        {"copy onto", [&] { return fs().copyFile(at("other.txt"), at("held.txt"), true); }, Status::SharingViolation},
        {"move onto", [&] { return fs().moveFile(at("other.txt"), at("held.txt"), true); }, Status::AccessDenied},
        {"info", [&] { return infoStatus(at("held.txt")); }, Status::Ok},
    };
    for (const auto& row : rows) EXPECT_EQ(row.run(), row.expected) << row.what;
    EXPECT_EQ(r, nullptr);
    EXPECT_EQ(w, nullptr);
    EXPECT_EQ(infoStatus(at("moved.txt")), Status::FileNotFound);
    EXPECT_EQ(infoStatus(at("copy.txt")), Status::FileNotFound);
    EXPECT_EQ(infoStatus(at("other.txt")), Status::Ok);
}

TEST_P(FileSystemContract, OurOwnOpenFilesCannotBeMovedOrDeleted) {
    std::unique_ptr<TextWriter> w;
    ASSERT_EQ(fs().openWrite(at("work.qdb"), WriteMode::Create, w), Status::Ok);
    ASSERT_EQ(w->writeLine("line"), Status::Ok);
    {
        std::unique_ptr<TextReader> r;
        std::unique_ptr<TextWriter> second;
        EXPECT_EQ(fs().openRead(at("work.qdb"), r), Status::Ok) << "a file being written can be read";
        EXPECT_EQ(fs().openWrite(at("work.qdb"), WriteMode::Append, second), Status::SharingViolation);
        EXPECT_EQ(fs().openExclusive(at("work.qdb")), Status::SharingViolation);
        EXPECT_EQ(fs().moveFile(at("work.qdb"), at("done.qdb"), true), Status::SharingViolation);
        EXPECT_EQ(fs().deleteFile(at("work.qdb")), Status::SharingViolation);
    }
    ASSERT_EQ(w->close(), Status::Ok);
    EXPECT_EQ(fs().moveFile(at("work.qdb"), at("done.qdb"), true), Status::Ok) << "closed, it moves";

    std::unique_ptr<TextReader> r;
    ASSERT_EQ(fs().openRead(at("done.qdb"), r), Status::Ok);
    EXPECT_EQ(fs().deleteFile(at("done.qdb")), Status::SharingViolation);
    EXPECT_EQ(fs().openExclusive(at("done.qdb")), Status::SharingViolation);
    std::unique_ptr<TextWriter> appender;
    EXPECT_EQ(fs().openWrite(at("done.qdb"), WriteMode::Append, appender), Status::Ok) << "a file being read can be written";
    appender.reset();
    r.reset();
    EXPECT_EQ(fs().deleteFile(at("done.qdb")), Status::Ok);
}

TEST_P(FileSystemContract, TextIsBytesInCrLfLines) {
    std::unique_ptr<TextWriter> w;
    ASSERT_EQ(fs().openWrite(at("t.qdb"), WriteMode::Create, w), Status::Ok);
    const std::vector<std::string> lines = {"first", "", "\x80\xff high bytes", "last"};
    for (const auto& l : lines) EXPECT_EQ(w->writeLine(l), Status::Ok);
    ASSERT_EQ(w->close(), Status::Ok);
    EXPECT_EQ(readLines(at("t.qdb")), lines);
    FileInfo i;
    ASSERT_EQ(fs().info(at("t.qdb"), i), Status::Ok);
    EXPECT_EQ(i.size, 5u + 0 + 13 + 4 + 4 * 2);

    writeFile(at("mixed.txt"), "a\r\nb\nc\rd");
    EXPECT_EQ(readLines(at("mixed.txt")), (std::vector<std::string>{"a", "b", "c", "d"}));
}

TEST_P(FileSystemContract, CreateTruncatesAndAppendAdds) {
    writeFile(at("log.txt"), "one\r\n", WriteMode::Append);
    EXPECT_EQ(readLines(at("log.txt")), (std::vector<std::string>{"one"})) << "append creates";
    writeFile(at("log.txt"), "two\r\n", WriteMode::Append);
    EXPECT_EQ(readLines(at("log.txt")), (std::vector<std::string>{"one", "two"}));
    writeFile(at("log.txt"), "three\r\n", WriteMode::Create);
    EXPECT_EQ(readLines(at("log.txt")), (std::vector<std::string>{"three"}));
}

TEST_P(FileSystemContract, OpeningWhatCannotBeOpenedSaysWhy) {
    ASSERT_EQ(fs().createFolder(at("Sub")), Status::Ok);
    std::unique_ptr<TextReader> r;
    std::unique_ptr<TextWriter> w;
    struct Row { const char* what; std::function<Status()> run; Status expected; };
    const Row rows[] = {
        {"read missing", [&] { return fs().openRead(at("missing.txt"), r); }, Status::FileNotFound},
        {"read in missing folder", [&] { return fs().openRead(at("Missing\\x.txt"), r); }, Status::PathNotFound},
        {"read a folder", [&] { return fs().openRead(at("Sub"), r); }, Status::AccessDenied},
        {"write in missing folder", [&] { return fs().openWrite(at("Missing\\x.txt"), WriteMode::Create, w); }, Status::PathNotFound},
        {"write a folder", [&] { return fs().openWrite(at("Sub"), WriteMode::Create, w); }, Status::AccessDenied},
    };
    for (const auto& row : rows) EXPECT_EQ(row.run(), row.expected) << row.what;
    EXPECT_EQ(r, nullptr);
    EXPECT_EQ(w, nullptr);
}

TEST_P(FileSystemContract, LargeFilesRoundTripAcrossChunks) {
    const std::string longLine(200'000, 'x');  // longer than any read chunk
    constexpr int count = 150'000;
    std::unique_ptr<TextWriter> w;
    ASSERT_EQ(fs().openWrite(at("big.qdb"), WriteMode::Create, w), Status::Ok);
    for (int n = 0; n < count; ++n) {
        ASSERT_EQ(w->writeLine(n == count / 2 ? longLine : "C:\\Folder\\file" + std::to_string(n) + ".txt"), Status::Ok);
    }
    ASSERT_EQ(w->close(), Status::Ok);

    std::unique_ptr<TextReader> r;
    ASSERT_EQ(fs().openRead(at("big.qdb"), r), Status::Ok);
    std::string line;
    int n = 0;
    for (; r->readLine(line); ++n) {
        const std::string expected = n == count / 2 ? longLine : "C:\\Folder\\file" + std::to_string(n) + ".txt";
        if (line != expected) {
            ADD_FAILURE() << "line " << n << " reads back as " << line.substr(0, 80);
            break;
        }
    }
    EXPECT_EQ(n, count);
    EXPECT_EQ(r->status(), Status::Ok);
}

TEST_P(FileSystemContract, ReadersGoBackToAnyLineTheyPassed) {
    // The first line's CR is the last byte of a 64 KiB chunk: its LF comes with the next one.
    const std::vector<std::string> lines = {std::string(64 * 1024 - 1, 'a'), "b", "", "C:\\Apps\\{", "last"};
    std::string bytes;
    for (const auto& l : lines) bytes += l + "\r\n";
    writeFile(at("seek.qdb"), bytes + "lf only\ncr only\rend");
    const std::vector<std::string> all = [&] {
        std::vector<std::string> v = lines;
        v.insert(v.end(), {"lf only", "cr only", "end"});
        return v;
    }();

    std::unique_ptr<TextReader> r;
    ASSERT_EQ(fs().openRead(at("seek.qdb"), r), Status::Ok);
    std::vector<std::uint64_t> starts;
    std::string line;
    for (;;) {
        starts.push_back(r->position());
        if (!r->readLine(line)) break;
    }
    ASSERT_EQ(starts.size(), all.size() + 1);
    EXPECT_EQ(starts[1], 64u * 1024 + 1) << "a CR LF split across chunks is one line end";
    EXPECT_EQ(starts.back(), bytes.size() + 16 + 3);
    for (std::size_t n = all.size(); n-- > 0;) {
        ASSERT_EQ(r->seek(starts[n]), Status::Ok);
        ASSERT_TRUE(r->readLine(line)) << "line " << n;
        EXPECT_EQ(line, all[n]) << "line " << n;
        EXPECT_EQ(r->position(), starts[n + 1]) << "line " << n;
    }
    ASSERT_EQ(r->seek(starts.back() + 100), Status::Ok);
    EXPECT_FALSE(r->readLine(line)) << "past the end there are no lines";
    ASSERT_EQ(r->seek(0), Status::Ok);
    ASSERT_TRUE(r->readLine(line));
    EXPECT_EQ(line, all[0]);
    EXPECT_EQ(r->status(), Status::Ok);
}

TEST_P(FileSystemContract, CopyKeepsContentAndDate) {
    writeFile(at("src.txt"), "source\r\n");
    writeFile(at("old.txt"), "old\r\n");
    ASSERT_EQ(fs().createFolder(at("Sub")), Status::Ok);

    ASSERT_EQ(fs().copyFile(at("src.txt"), at("copy.txt"), false), Status::Ok);
    EXPECT_EQ(readLines(at("copy.txt")), (std::vector<std::string>{"source"}));
    FileInfo a, b;
    ASSERT_EQ(fs().info(at("src.txt"), a), Status::Ok);
    ASSERT_EQ(fs().info(at("copy.txt"), b), Status::Ok);
    EXPECT_EQ(a.lastWrite, b.lastWrite);

    EXPECT_EQ(fs().copyFile(at("src.txt"), at("old.txt"), false), Status::FileExists);
    EXPECT_EQ(readLines(at("old.txt")), (std::vector<std::string>{"old"})) << "left alone";
    EXPECT_EQ(fs().copyFile(at("src.txt"), at("old.txt"), true), Status::Ok);
    EXPECT_EQ(readLines(at("old.txt")), (std::vector<std::string>{"source"})) << "replaced";

    struct Row { const char* from; const char* to; Status expected; };
    const Row rows[] = {
        {"missing.txt", "x.txt", Status::FileNotFound},
        {"src.txt", "Missing\\x.txt", Status::PathNotFound},
        {"src.txt", "Sub", Status::AccessDenied},
    };
    for (const auto& r : rows) EXPECT_EQ(fs().copyFile(at(r.from), at(r.to), true), r.expected) << r.from << " -> " << r.to;
}

TEST_P(FileSystemContract, MoveRenamesAndReplacesOnlyWhenAsked) {
    writeFile(at("a.txt"), "a\r\n");
    writeFile(at("b.txt"), "b\r\n");
    writeFile(at("c.txt"), "c\r\n");
    ASSERT_EQ(fs().createFolder(at("Dir")), Status::Ok);
    writeFile(at("Dir\\inner.txt"), "inner\r\n");

    ASSERT_EQ(fs().moveFile(at("a.txt"), at("renamed.txt"), false), Status::Ok);
    EXPECT_EQ(infoStatus(at("a.txt")), Status::FileNotFound);
    EXPECT_EQ(readLines(at("renamed.txt")), (std::vector<std::string>{"a"}));

    EXPECT_EQ(fs().moveFile(at("b.txt"), at("c.txt"), false), Status::AlreadyExists);
    EXPECT_EQ(readLines(at("c.txt")), (std::vector<std::string>{"c"}));
    EXPECT_EQ(fs().moveFile(at("b.txt"), at("c.txt"), true), Status::Ok);
    EXPECT_EQ(readLines(at("c.txt")), (std::vector<std::string>{"b"}));
    EXPECT_EQ(infoStatus(at("b.txt")), Status::FileNotFound);

    ASSERT_EQ(fs().moveFile(at("Dir"), at("Moved"), false), Status::Ok) << "folders move too";
    EXPECT_EQ(readLines(at("Moved\\inner.txt")), (std::vector<std::string>{"inner"}));

    struct Row { const char* from; const char* to; Status expected; };
    const Row rows[] = {
        {"missing.txt", "x.txt", Status::FileNotFound},
        {"c.txt", "Missing\\x.txt", Status::PathNotFound},
        {"c.txt", "Moved", Status::AccessDenied},
    };
    for (const auto& r : rows) EXPECT_EQ(fs().moveFile(at(r.from), at(r.to), true), r.expected) << r.from << " -> " << r.to;
}

TEST_P(FileSystemContract, DeleteRefusesFoldersAndReadOnlyFiles) {
    writeFile(at("gone.txt"), "x");
    writeFile(at("locked.txt"), "x");
    ASSERT_EQ(fs().createFolder(at("Sub")), Status::Ok);
    ASSERT_EQ(fs().setAttributes(at("locked.txt"), FileAttr::ReadOnly), Status::Ok);

    struct Row { const char* path; Status expected; };
    const Row rows[] = {
        {"gone.txt", Status::Ok},
        {"gone.txt", Status::FileNotFound},
        {"Missing\\x.txt", Status::PathNotFound},
        {"Sub", Status::AccessDenied},
        {"locked.txt", Status::AccessDenied},
    };
    for (const auto& r : rows) EXPECT_EQ(fs().deleteFile(at(r.path)), r.expected) << r.path;

    ASSERT_EQ(fs().setAttributes(at("locked.txt"), FileAttr::Normal), Status::Ok);
    EXPECT_EQ(fs().deleteFile(at("locked.txt")), Status::Ok);
}

TEST_P(FileSystemContract, AttributesStickAndDecideExistence) {
    writeFile(at("plain.txt"), "x");
    writeFile(at("hidden.txt"), "x");
    ASSERT_EQ(fs().createFolder(at("Sub")), Status::Ok);
    ASSERT_EQ(fs().setAttributes(at("hidden.txt"), FileAttr::Hidden | FileAttr::ReadOnly), Status::Ok);
    ASSERT_EQ(fs().setAttributes(at("Sub"), FileAttr::Normal), Status::Ok);
    EXPECT_EQ(fs().setAttributes(at("missing.txt"), FileAttr::Hidden), Status::FileNotFound);

    FileInfo i;
    ASSERT_EQ(fs().info(at("hidden.txt"), i), Status::Ok);
    EXPECT_EQ(i.attributes & kindBits, FileAttr::Hidden | FileAttr::ReadOnly);
    ASSERT_EQ(fs().info(at("Sub"), i), Status::Ok);
    EXPECT_EQ(i.attributes & kindBits, FileAttr::Directory) << "a folder stays a folder";

    struct Row { const char* path; std::uint32_t mask; bool exists; };
    const Row rows[] = {
        {"plain.txt", 0, true},
        {"hidden.txt", 0, false},
        {"hidden.txt", FileAttr::Hidden, true},
        {"Sub", 0, false},
        {"Sub", FileAttr::Directory, true},
        {"missing.txt", FileAttr::Hidden | FileAttr::System | FileAttr::Directory, false},
    };
    for (const auto& r : rows) EXPECT_EQ(existsWith(fs(), at(r.path), r.mask), r.exists) << r.path << " mask " << r.mask;
}

TEST_P(FileSystemContract, FoldersAreCreatedAndRemovedOnlyWhenEmpty) {
    writeFile(at("file.txt"), "x");
    struct Row { const char* what; std::function<Status()> run; Status expected; };
    const Row rows[] = {
        {"create", [&] { return fs().createFolder(at("New")); }, Status::Ok},
        {"create with trailing backslash", [&] { return fs().createFolder(at("Other\\")); }, Status::Ok},
        {"create again", [&] { return fs().createFolder(at("NEW")); }, Status::AlreadyExists},
        {"create over a file", [&] { return fs().createFolder(at("file.txt")); }, Status::AlreadyExists},
        {"create below a missing one", [&] { return fs().createFolder(at("Missing\\New")); }, Status::PathNotFound},
        {"fill", [&] {
             std::unique_ptr<TextWriter> w;
             const Status s = fs().openWrite(at("New\\h.txt"), WriteMode::Create, w);
             return succeeded(s) ? w->close() : s;
         }, Status::Ok},
        {"hide", [&] { return fs().setAttributes(at("New\\h.txt"), FileAttr::Hidden); }, Status::Ok},
        {"remove non-empty", [&] { return fs().removeFolder(at("New")); }, Status::DirNotEmpty},
        {"remove missing", [&] { return fs().removeFolder(at("Missing")); }, Status::FileNotFound},
        {"remove a file", [&] { return fs().removeFolder(at("file.txt")); }, Status::DirectoryInvalid},
        {"remove empty", [&] { return fs().removeFolder(at("Other")); }, Status::Ok},
        {"gone", [&] { return infoStatus(at("Other")); }, Status::FileNotFound},
    };
    for (const auto& row : rows) EXPECT_EQ(row.run(), row.expected) << row.what;
}

TEST_P(FileSystemContract, DrivesHaveATypeAndALabel) {
    std::string label;
    EXPECT_EQ(fs().driveType("C:\\"), DriveType::Fixed);
    EXPECT_EQ(fs().volumeLabel("C:\\", label), Status::Ok);
    const std::string missing = world_->missingDriveRoot();
    EXPECT_EQ(fs().driveType(missing), DriveType::NoRootDir) << missing;
    EXPECT_EQ(fs().volumeLabel(missing, label), Status::PathNotFound) << missing;
    EXPECT_EQ(fs().volumeLabel(world_->scratch(), label), Status::DirNotRoot);
}

TEST_P(FileSystemContract, NamesIgnoreCaseAndKeepTheirSpelling) {
    writeFile(at("MixedCase.Txt"), "first\r\n");
    writeFile(at("mixedcase.txt"), "second\r\n");
    EXPECT_EQ(readLines(at("MIXEDCASE.TXT")), (std::vector<std::string>{"second"}));
    std::vector<FileInfo> entries;
    ASSERT_EQ(listAll(at("*.*"), entries), Status::Ok);
    EXPECT_EQ(sortedNames(entries), (std::vector<std::string>{"MixedCase.Txt"}));
}

TEST_P(FileSystemContract, ProtectedFilesAreNotOverwritten) {
    if (!world_->refusesOverwritingProtectedFiles())
        GTEST_SKIP() << "Wine (here run as root) overwrites hidden, system and read-only files";
    writeFile(at("src.txt"), "new\r\n");
    struct Protected { const char* name; std::uint32_t attributes; };
    const Protected files[] = {
        {"hidden.txt", FileAttr::Hidden},
        {"system.txt", FileAttr::System},
        {"readonly.txt", FileAttr::ReadOnly},
    };
    for (const auto& f : files) {
        writeFile(at(f.name), "old\r\n");
        ASSERT_EQ(fs().setAttributes(at(f.name), f.attributes), Status::Ok);
    }
    std::unique_ptr<TextWriter> w;
    struct Row { const char* what; std::function<Status()> run; Status expected; };
    const Row rows[] = {
        {"create over hidden", [&] { return fs().openWrite(at("hidden.txt"), WriteMode::Create, w); }, Status::AccessDenied},
        {"create over system", [&] { return fs().openWrite(at("system.txt"), WriteMode::Create, w); }, Status::AccessDenied},
        {"create over read-only", [&] { return fs().openWrite(at("readonly.txt"), WriteMode::Create, w); }, Status::AccessDenied},
        {"append to read-only", [&] { return fs().openWrite(at("readonly.txt"), WriteMode::Append, w); }, Status::AccessDenied},
        {"copy onto hidden", [&] { return fs().copyFile(at("src.txt"), at("hidden.txt"), true); }, Status::AccessDenied},
        {"copy onto read-only", [&] { return fs().copyFile(at("src.txt"), at("readonly.txt"), true); }, Status::AccessDenied},
        {"move onto read-only", [&] { return fs().moveFile(at("src.txt"), at("readonly.txt"), true); }, Status::AccessDenied},
    };
    for (const auto& row : rows) EXPECT_EQ(row.run(), row.expected) << row.what;
    for (const auto& f : files) EXPECT_EQ(readLines(at(f.name)), (std::vector<std::string>{"old"})) << f.name;

    ASSERT_EQ(fs().openWrite(at("hidden.txt"), WriteMode::Append, w), Status::Ok) << "appending keeps the attributes";
    EXPECT_EQ(w->close(), Status::Ok);
}

std::string worldName(const ::testing::TestParamInfo<FileSystemWorldMaker>& p) { return p.param.name; }

const FileSystemWorldMaker fakeWorld{"Fake", &makeFake};
INSTANTIATE_TEST_SUITE_P(Fake, FileSystemContract, ::testing::Values(fakeWorld),
                         worldName);
#ifdef _WIN32
const FileSystemWorldMaker win32World{"Win32", &makeWin32};
INSTANTIATE_TEST_SUITE_P(Win32, FileSystemContract, ::testing::Values(win32World),
                         worldName);
#endif

}  // namespace
}  // namespace quillon::contract
