// The shell contract: one suite run against the fake shell and, on Windows, the real one.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "support/FakeFileSystem.h"
#include "support/FakeShell.h"
#include "platform/FileSystem.h"
#include "platform/Shell.h"

#ifdef _WIN32
#include <windows.h>

#include <filesystem>

#include "platform/win32/Handles.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Shell.h"
#endif

namespace quillon {
namespace {

// A shell, the file system it works on and an empty folder of the test's own.
class ShellSandbox {
public:
    virtual ~ShellSandbox() = default;
    virtual Shell& shell() = 0;
    virtual FileSystem& files() = 0;
    // Ends in "\"; gone with everything in it when the sandbox is destroyed.
    virtual const std::string& scratch() const = 0;
    // Another program holds the file open, without sharing, until the sandbox is destroyed.
    virtual void holdOpen(const std::string& path) = 0;
};

struct ShellTarget {
    std::string name;
    std::function<std::unique_ptr<ShellSandbox>()> make;
};

constexpr const char* ScratchName = "QuillonShellContract\\";

class FakeShellSandbox final : public ShellSandbox {
public:
    FakeShellSandbox() {
        files_.addDrive('C');
        const std::pair<int, const char*> folders[] = {
            {Csidl::Windows, "C:\\WINDOWS"},
            {Csidl::System, "C:\\WINDOWS\\system32"},
            {Csidl::ProgramFiles, "C:\\Program Files"},
            {Csidl::AppData, "C:\\Documents and Settings\\User\\Application Data"},
        };
        for (const auto& [csidl, path] : folders) {
            files_.addFolder(path);
            shell_.setSpecialFolder(csidl, path);
        }
        const std::string temp = "C:\\Documents and Settings\\User\\Local Settings\\Temp\\";
        files_.addFolder(temp);
        shell_.setTempPath("C:\\DOCUME~1\\User\\LOCALS~1\\Temp\\", temp);
        scratch_ = temp + ScratchName;
        files_.addFolder(scratch_);
    }
    Shell& shell() override { return shell_; }
    FileSystem& files() override { return files_; }
    const std::string& scratch() const override { return scratch_; }
    void holdOpen(const std::string& path) override { files_.holdOpen(path); }

private:
    fakes::FakeFileSystem files_;
    fakes::FakeShell shell_{files_};
    std::string scratch_;
};

#ifdef _WIN32
class Win32ShellSandbox final : public ShellSandbox {
public:
    Win32ShellSandbox() {
        std::string shortForm, longForm;
        if (succeeded(shell_.tempPath(shortForm)) && succeeded(shell_.longPathName(shortForm, longForm)))
            scratch_ = longForm + ScratchName;
        wipe();
        std::error_code failed;
        if (!scratch_.empty()) std::filesystem::create_directories(scratch_, failed);
    }
    Win32ShellSandbox(const Win32ShellSandbox&) = delete;
    Win32ShellSandbox& operator=(const Win32ShellSandbox&) = delete;
    ~Win32ShellSandbox() override {
        held_.clear();
        wipe();
    }
    Shell& shell() override { return shell_; }
    FileSystem& files() override { return files_; }
    const std::string& scratch() const override { return scratch_; }
    void holdOpen(const std::string& path) override {
        held_.emplace_back(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held_.back()) << path;
    }

private:
    void wipe() {
        std::error_code ignored;
        if (!scratch_.empty()) std::filesystem::remove_all(scratch_, ignored);
    }

    win32::Win32FileSystem files_;
    win32::Win32Shell shell_;
    std::string scratch_;
    std::vector<win32::FileHandle> held_;
};
#endif

void PrintTo(const ShellTarget& target, std::ostream* os) { *os << target.name; }

std::vector<ShellTarget> shellTargets() {
    std::vector<ShellTarget> targets{{"Fake", [] { return std::make_unique<FakeShellSandbox>(); }}};
#ifdef _WIN32
    targets.push_back({"Win32", [] { return std::make_unique<Win32ShellSandbox>(); }});
#endif
    return targets;
}

class ShellContract : public ::testing::TestWithParam<ShellTarget> {
protected:
    void SetUp() override {
        box_ = GetParam().make();
        ASSERT_FALSE(box_->scratch().empty());
        ASSERT_TRUE(exists(box_->scratch())) << box_->scratch();
    }

    Shell& shell() { return box_->shell(); }
    std::string path(std::string_view relative) const { return box_->scratch() + std::string(relative); }

    void makeFile(const std::string& file, std::string_view content) {
        std::unique_ptr<TextWriter> writer;
        ASSERT_EQ(box_->files().openWrite(file, WriteMode::Create, writer), Status::Ok) << file;
        ASSERT_EQ(writer->write(content), Status::Ok);
        ASSERT_EQ(writer->close(), Status::Ok);
    }
    void makeFolder(const std::string& folder) { ASSERT_EQ(box_->files().createFolder(folder), Status::Ok) << folder; }
    bool exists(const std::string& p) {
        FileInfo info;
        return succeeded(box_->files().info(p, info));
    }
    bool isFolder(const std::string& p) {
        FileInfo info;
        return succeeded(box_->files().info(p, info)) && (info.attributes & FileAttr::Directory);
    }
    std::string content(const std::string& file) {
        std::unique_ptr<TextReader> reader;
        if (!succeeded(box_->files().openRead(file, reader))) return "<unreadable>";
        std::string all, line;
        while (reader->readLine(line)) all += line;
        return all;
    }
    FileOpResult run(FileOpKind kind, std::vector<std::string> from, std::string to = {}) {
        constexpr std::uint32_t quiet = FileOpFlag::Silent | FileOpFlag::NoConfirmation | FileOpFlag::NoErrorUi |
                                        FileOpFlag::NoConfirmMkdir;
        return shell().fileOperation({kind, std::move(from), std::move(to), quiet, 0});
    }

    std::unique_ptr<ShellSandbox> box_;
};

TEST_P(ShellContract, SpecialFoldersOfTheSystemAreExistingFolders) {
    for (const int csidl : {Csidl::Windows, Csidl::System, Csidl::ProgramFiles, Csidl::AppData}) {
        std::string folder;
        ASSERT_EQ(shell().specialFolder(csidl, folder), Status::Ok) << csidl;
        EXPECT_GE(folder.size(), 3u) << csidl;
        EXPECT_EQ(folder.find('\0'), std::string::npos) << csidl;
        EXPECT_TRUE(isFolder(folder)) << csidl << " " << folder;
    }
}

TEST_P(ShellContract, TempPathEndsInBackslashAndItsLongFormExists) {
    std::string shortForm, longForm;
    ASSERT_EQ(shell().tempPath(shortForm), Status::Ok);
    ASSERT_FALSE(shortForm.empty());
    EXPECT_EQ(shortForm.back(), '\\');
    ASSERT_EQ(shell().longPathName(shortForm, longForm), Status::Ok);
    ASSERT_FALSE(longForm.empty());
    EXPECT_EQ(longForm.back(), '\\') << "the long form keeps the trailing backslash";
    EXPECT_TRUE(isFolder(longForm)) << longForm;
}

TEST_P(ShellContract, LongPathNameOfAMissingPathFails) {
    std::string longForm;
    EXPECT_EQ(shell().longPathName(path("missing\\file.txt"), longForm), Status::FileNotFound);
}

TEST_P(ShellContract, DeleteForGoodRemovesFilesAndFolderTrees) {
    makeFile(path("a.txt"), "a");
    makeFolder(path("tree"));
    makeFolder(path("tree\\sub"));
    makeFile(path("tree\\sub\\b.txt"), "b");
    makeFolder(path("slash"));

    const FileOpResult r = run(FileOpKind::Delete, {path("a.txt"), path("tree"), path("slash\\")});
    EXPECT_EQ(r.status, Status::Ok);
    EXPECT_FALSE(r.aborted);
    EXPECT_FALSE(exists(path("a.txt")));
    EXPECT_FALSE(exists(path("tree")));
    EXPECT_FALSE(exists(path("slash")));
}

TEST_P(ShellContract, DeleteOfAMissingItemFailsAndStopsThere) {
    makeFile(path("after.txt"), "x");
    const FileOpResult r = run(FileOpKind::Delete, {path("missing.txt"), path("after.txt")});
    EXPECT_EQ(r.status, Status::FileNotFound);
    EXPECT_FALSE(r.aborted);
    EXPECT_TRUE(exists(path("after.txt")));
}

TEST_P(ShellContract, DeleteOfWhatAnotherProgramHoldsOpenFailsAndLeavesIt) {
    makeFile(path("held.txt"), "h");
    makeFolder(path("dir"));
    makeFile(path("dir\\held.txt"), "h");
    makeFile(path("dir\\free.txt"), "f");
    box_->holdOpen(path("held.txt"));
    box_->holdOpen(path("dir\\held.txt"));

    struct Row { const char* item; std::vector<const char*> left; };
    const Row rows[] = {
        {"held.txt", {"held.txt"}},
        // What else of the folder goes depends on the listing order.
        {"dir", {"dir", "dir\\held.txt"}},
    };
    for (const auto& row : rows) {
        const FileOpResult r = run(FileOpKind::Delete, {path(row.item)});
        EXPECT_EQ(r.status, Status::SharingViolation) << row.item;
        EXPECT_FALSE(r.aborted) << row.item;
        for (const char* left : row.left) EXPECT_TRUE(exists(path(left))) << row.item << ": " << left;
    }
}

TEST_P(ShellContract, CopyAndMoveFilesIntoFoldersAndOntoNames) {
    struct Row {
        const char* name;
        FileOpKind kind;
        const char* to;        // relative to the scratch folder
        const char* arrives;   // where the file is afterwards
    };
    const Row rows[] = {
        {"copy into a folder", FileOpKind::Copy, "dest", "dest\\f.txt"},
        {"copy into a folder given with backslash", FileOpKind::Copy, "dest\\", "dest\\f.txt"},
        {"copy onto a new name", FileOpKind::Copy, "dest\\g.txt", "dest\\g.txt"},
        {"copy into a folder still to be made", FileOpKind::Copy, "made\\h.txt", "made\\h.txt"},
        {"copy over an existing file", FileOpKind::Copy, "dest\\old.txt", "dest\\old.txt"},
        {"move into a folder", FileOpKind::Move, "dest", "dest\\f.txt"},
        {"move over an existing file", FileOpKind::Move, "dest\\old.txt", "dest\\old.txt"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        makeFolder(path("dest"));
        makeFile(path("f.txt"), "fresh");
        makeFile(path("dest\\old.txt"), "stale");

        const FileOpResult r = run(row.kind, {path("f.txt")}, path(row.to));
        EXPECT_EQ(r.status, Status::Ok);
        EXPECT_FALSE(r.aborted);
        EXPECT_EQ(content(path(row.arrives)), "fresh");
        EXPECT_EQ(exists(path("f.txt")), row.kind == FileOpKind::Copy);

        for (const char* left : {"dest", "made", "f.txt"}) {
            if (exists(path(left))) {
                ASSERT_EQ(run(FileOpKind::Delete, {path(left)}).status, Status::Ok) << left;
            }
        }
    }
}

TEST_P(ShellContract, CopyOfAFolderCopiesItsTree) {
    makeFolder(path("src"));
    makeFolder(path("src\\sub"));
    makeFile(path("src\\sub\\deep.txt"), "deep");
    makeFolder(path("dest"));

    ASSERT_EQ(run(FileOpKind::Copy, {path("src")}, path("dest")).status, Status::Ok);
    EXPECT_EQ(content(path("dest\\src\\sub\\deep.txt")), "deep");
    EXPECT_EQ(content(path("src\\sub\\deep.txt")), "deep");
}

TEST_P(ShellContract, ExecuteOfAMissingFileFails) {
    EXPECT_EQ(shell().execute(0, "open", path("missing.txt"), "", "", ShowCmd::Normal), Status::FileNotFound);
}

TEST_P(ShellContract, FileTypeNamesExistingFilesAndFoldersOnly) {
    makeFile(path("notes.txt"), "n");
    makeFolder(path("folder"));
    for (const char* item : {"notes.txt", "folder"}) {
        FileTypeInfo info;
        ASSERT_EQ(shell().fileType(path(item), info), Status::Ok) << item;
        EXPECT_FALSE(info.typeName.empty()) << item;
        EXPECT_GE(info.iconIndex, 0) << item;
    }
    FileTypeInfo missing;
    EXPECT_NE(shell().fileType(path("missing.txt"), missing), Status::Ok);
}

INSTANTIATE_TEST_SUITE_P(Targets, ShellContract, ::testing::ValuesIn(shellTargets()),
                         [](const ::testing::TestParamInfo<ShellTarget>& target) { return target.param.name; });

}  // namespace
}  // namespace quillon
