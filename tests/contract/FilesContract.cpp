// What the logic relies on of the file system and the shell's file operations.
#include <algorithm>
#include <cstdlib>

#include "contract/Sandbox.h"

namespace quillon::contract {
namespace {

using Lines = std::vector<std::string>;

std::int64_t secondsOf(const DateTime& d) { return dayNumber(d) * 86400 + d.hour * 3600 + d.minute * 60 + d.second; }

class FilesContract : public ContractTest {
protected:
    FileSystem& fs() { return *box_->fs; }
    Shell& shell() { return *box_->shell; }
    std::string at(std::string_view name) const { return box_->scratchFolder + std::string(name); }

    void write(std::string_view name, std::string_view bytes, std::uint32_t attributes = 0) {
        std::unique_ptr<TextWriter> w;
        ASSERT_EQ(fs().openWrite(at(name), WriteMode::Create, w), Status::Ok) << name;
        ASSERT_EQ(w->write(bytes), Status::Ok) << name;
        ASSERT_EQ(w->close(), Status::Ok) << name;
        ASSERT_EQ(fs().setAttributes(at(name), attributes ? attributes : FileAttr::Normal), Status::Ok) << name;
    }
    void folder(std::string_view name) { ASSERT_EQ(fs().createFolder(at(name)), Status::Ok) << name; }
    Lines lines(std::string_view name) {
        std::unique_ptr<TextReader> r;
        if (!succeeded(fs().openRead(at(name), r))) return {"<unreadable>"};
        Lines all;
        for (std::string line; r->readLine(line);) all.push_back(line);
        return all;
    }
    Status info(std::string_view name, FileInfo& i) { return fs().info(at(name), i); }
    // The entries a mask lists, in the listing's order, and whether it ended normally.
    std::vector<FileInfo> entries(std::string_view mask) {
        std::unique_ptr<DirectoryListing> listing;
        std::vector<FileInfo> all;
        if (!succeeded(fs().list(at(mask), listing))) all.emplace_back().name = "<unlisted>";
        for (FileInfo e; listing && listing->next(e);) all.push_back(e);
        if (listing && !succeeded(listing->status())) all.emplace_back().name = "<broken off>";
        return all;
    }
    // Their names, sorted, without "." and "..".
    Lines listed(std::string_view mask) {
        Lines names;
        for (const FileInfo& e : entries(mask))
            if (e.name != "." && e.name != "..") names.push_back(e.name);
        std::sort(names.begin(), names.end());
        return names;
    }
    bool exists(std::string_view name) { return existsWith(fs(), at(name), FileAttr::Hidden | FileAttr::Directory); }
    FileOpResult run(FileOpKind kind, const Lines& from, std::string_view to = {}, std::uint32_t flags = 0) {
        Lines paths;
        for (const auto& name : from) paths.push_back(at(name));
        return shell().fileOperation({kind, paths, to.empty() ? std::string() : at(to), quietFileOp | flags, 0});
    }
};

TEST_P(FilesContract, ListingGivesTheDotsFirstThenEveryEntry) {
    write("plain.txt", "12345");
    write("hidden.tmp", "", FileAttr::Hidden);
    write("system.dat", "", FileAttr::System);
    write("noext", "");
    folder("Sub");
    constexpr std::uint32_t kindBits = FileAttr::ReadOnly | FileAttr::Hidden | FileAttr::System | FileAttr::Directory;
    const Lines names = {".", "..", "Sub", "hidden.tmp", "noext", "plain.txt", "system.dat"};
    const std::uint32_t dir = FileAttr::Directory, kinds[] = {dir, dir, dir, FileAttr::Hidden, 0, 0, FileAttr::System};
    for (const char* mask : {"*.*", "*"}) {
        std::vector<FileInfo> all = entries(mask);
        ASSERT_EQ(all.size(), names.size()) << mask;
        std::sort(all.begin() + 2, all.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
        for (std::size_t n = 0; n < names.size(); ++n) {
            EXPECT_EQ(all[n].name, names[n]) << mask;
            EXPECT_EQ(all[n].attributes & kindBits, kinds[n]) << mask << " " << names[n];
            EXPECT_EQ(all[n].size, names[n] == "plain.txt" ? 5u : 0u) << mask << " " << names[n];
            EXPECT_LE(std::abs(secondsOf(all[n].lastWrite) - secondsOf(box_->now)), 120) << names[n];
        }
    }
}

// As Windows reads a path: the last part drops its trailing dots and spaces, any other part
// one trailing dot; a space before a "\" stays.
TEST_P(FilesContract, TrailingDotsAndSpacesOfPathPartsAreDropped) {
    folder("Program Files.");
    write("Program Files.\\readme.txt. .", "x");
    FileInfo i;
    for (const char* path : {"Program Files", "Program Files. ", "Program Files\\readme.txt", "Program Files.\\readme.txt "}) {
        ASSERT_EQ(info(path, i), Status::Ok) << path;
        EXPECT_EQ(i.name, std::string_view(path).find('\\') == std::string_view::npos ? "Program Files" : "readme.txt");
    }
    EXPECT_EQ(info("Program Files \\readme.txt", i), Status::PathNotFound);
    EXPECT_EQ(listed("Program Files.\\*.*"), Lines{"readme.txt"});
}

// Folders named in every script, one inside the other far past MAX_PATH (35 of them make 400
// UTF-16 units): what is in them is made, read, listed, copied, moved and removed through the
// file system as spelled; the shell, which cannot take such a path, says so and does nothing.
TEST_P(FilesContract, NamesInEveryScriptAndPathsOfAnyLengthAreTakenAsSpelled) {
    Lines folders;
    std::string deep;
    for (std::size_t n = 0; n < 35; ++n) {
        deep += (deep.empty() ? "" : "\\") + std::string(worldNames[n % std::size(worldNames)]) + " folder";
        folder(deep);
        folders.push_back(deep);
    }
    const std::string name = std::string(worldNames[4]) + ".txt", file = deep + "\\" + name, copy = file + ".copy";
    write(copy, name);
    EXPECT_EQ(fs().copyFile(at(copy), at(file), false), Status::Ok);
    EXPECT_EQ(fs().moveFile(at(copy), at(file), true), Status::Ok) << "the copy replaces the file";
    FileInfo i;
    ASSERT_EQ(info(file, i), Status::Ok);
    EXPECT_EQ(i.name, name);
    EXPECT_EQ(i.size, name.size());
    EXPECT_EQ(lines(file), Lines{name});
    EXPECT_EQ(fs().openExclusive(at(file)), Status::Ok);
    EXPECT_EQ(listed(deep + "\\*"), Lines{name});
    EXPECT_EQ(listed("*"), Lines{folders[0]});

    const FileOpResult tooLong = run(FileOpKind::Delete, {file});
    EXPECT_EQ(tooLong.status, Status::PathTooLong);
    EXPECT_FALSE(tooLong.aborted);
    EXPECT_TRUE(exists(file)) << "the shell did nothing";
    EXPECT_EQ(fs().deleteFile(at(file)), Status::Ok);
    for (auto f = folders.rbegin(); f != folders.rend(); ++f) EXPECT_EQ(fs().removeFolder(at(*f)), Status::Ok) << *f;
    EXPECT_EQ(listed("*"), Lines{});
}

// Hidden, system and read-only files are not overwritten.
TEST_P(FilesContract, NamesIgnoreCaseAttributesStickAndMissingThingsSayWhy) {
    write("Report.TXT", "first");
    write("report.txt", "abc", FileAttr::ReadOnly);
    write("hidden.txt", "x", FileAttr::Hidden | FileAttr::ReadOnly);
    write("system.txt", "x", FileAttr::System);
    write("new.txt", "new");
    folder("Sub");
    ASSERT_EQ(fs().setAttributes(at("Sub"), FileAttr::Normal), Status::Ok) << "a folder stays a folder";
    FileInfo i;
    ASSERT_EQ(info("REPORT.txt", i), Status::Ok);
    EXPECT_EQ(i.name, "Report.TXT");
    EXPECT_EQ(i.size, 3u);
    struct Row { const char* path; std::uint32_t mask; bool exists; };
    const Row rows[] = {{"REPORT.TXT", 0, true}, {"hidden.txt", 0, false}, {"hidden.txt", FileAttr::Hidden, true},
                        {"Sub", 0, false}, {"Sub", FileAttr::Directory, true},
                        {"missing.txt", FileAttr::Hidden | FileAttr::Directory, false}};
    for (const Row& r : rows) EXPECT_EQ(existsWith(fs(), at(r.path), r.mask), r.exists) << r.path << " " << r.mask;
    EXPECT_EQ(info("Report.TXT\\", i), Status::PathNotFound) << "a file is no folder";
    EXPECT_EQ(info("missing.txt", i), Status::FileNotFound);
    EXPECT_EQ(info("Missing\\x.txt", i), Status::PathNotFound);
    EXPECT_EQ(fs().deleteFile(at("missing.txt")), Status::FileNotFound);
    EXPECT_EQ(fs().deleteFile(at("Missing\\x.txt")), Status::PathNotFound);
    EXPECT_EQ(fs().deleteFile(at("report.txt")), Status::AccessDenied) << "read-only";
    if (!box_->refusesOverwritingProtectedFiles) return;  // Wine run as root overwrites them
    std::unique_ptr<TextWriter> w;
    for (const char* name : {"report.txt", "hidden.txt", "system.txt"})
        EXPECT_EQ(fs().openWrite(at(name), WriteMode::Create, w), Status::AccessDenied) << name;
    EXPECT_EQ(fs().moveFile(at("new.txt"), at("report.txt"), true), Status::AccessDenied);
    EXPECT_EQ(lines("report.txt"), Lines{"abc"});
}

// A file is in use when an exclusive open is refused: any open handle refuses it, ours or
// another program's. Another program's that shares nothing refuses reading it too.
TEST_P(FilesContract, AFileInUseRefusesAnExclusiveOpen) {
    write("busy.dll", "busy\r\n");
    EXPECT_EQ(fs().openExclusive(at("busy.dll")), Status::Ok);
    EXPECT_EQ(fs().openExclusive(at("missing.dll")), Status::FileNotFound);
    box_->holdOpen(at("busy.dll"));
    std::unique_ptr<TextReader> r;
    EXPECT_EQ(fs().openExclusive(at("busy.dll")), Status::SharingViolation);
    EXPECT_EQ(fs().openRead(at("busy.dll"), r), Status::SharingViolation);

    std::unique_ptr<TextWriter> w;
    ASSERT_EQ(fs().openWrite(at("work.qdb"), WriteMode::Create, w), Status::Ok);
    EXPECT_EQ(fs().openExclusive(at("work.qdb")), Status::SharingViolation);
    EXPECT_EQ(fs().openRead(at("work.qdb"), r), Status::Ok) << "a file being written can be read";
    r.reset();
    ASSERT_EQ(w->close(), Status::Ok);
    EXPECT_EQ(fs().openExclusive(at("work.qdb")), Status::Ok);
}

TEST_P(FilesContract, TextIsCrLfLinesThatAReaderCanGoBackTo) {
    write("text.qdb", "left over from before, and longer than the first line that replaces it\r\n");
    // The first line's CR is the last byte of a 64 KiB chunk: its LF comes with the next one.
    // A line of an older version's ANSI bytes is read as UTF-8.
    const Lines all = {std::string(64 * 1024 - 1, 'a'), "", "\u20ac\u00ff high bytes", "lf only", "cr only", "end"};
    std::unique_ptr<TextWriter> w;
    ASSERT_EQ(fs().openWrite(at("text.qdb"), WriteMode::Create, w), Status::Ok);
    for (std::size_t n = 0; n < 2; ++n) ASSERT_EQ(w->writeLine(all[n]), Status::Ok);
    ASSERT_EQ(w->writeLine("\x80\xff high bytes"), Status::Ok);
    ASSERT_EQ(w->write("lf only\ncr only\rend"), Status::Ok);
    ASSERT_EQ(w->close(), Status::Ok);
    FileInfo i;
    ASSERT_EQ(info("text.qdb", i), Status::Ok);
    EXPECT_EQ(i.size, 64u * 1024 - 1 + 2 + 2 + 15 + 19);

    std::unique_ptr<TextReader> r;
    ASSERT_EQ(fs().openRead(at("text.qdb"), r), Status::Ok);
    std::vector<std::uint64_t> starts;
    std::string line;
    for (const auto& expected : all) {
        starts.push_back(r->position());
        ASSERT_TRUE(r->readLine(line));
        EXPECT_EQ(line, expected);
    }
    EXPECT_FALSE(r->readLine(line));
    EXPECT_EQ(starts[1], 64u * 1024 + 1) << "a CR LF split across chunks is one line end";
    for (std::size_t n = all.size(); n-- > 0;) {
        ASSERT_EQ(r->seek(starts[n]), Status::Ok);
        ASSERT_TRUE(r->readLine(line)) << "line " << n;
        EXPECT_EQ(line, all[n]) << "line " << n;
    }
    EXPECT_EQ(r->status(), Status::Ok);
}

TEST_P(FilesContract, DrivesSpecialFoldersAndTheTempPathAreThere) {
    std::string path, longForm;
    EXPECT_EQ(fs().driveType("C:\\"), DriveType::Fixed);
    EXPECT_EQ(fs().volumeLabel("C:\\", path), Status::Ok);
    EXPECT_EQ(fs().driveType("Q:\\"), DriveType::NoRootDir);
    for (const int csidl : {Csidl::Windows, Csidl::System, Csidl::ProgramFiles, Csidl::AppData}) {
        ASSERT_EQ(shell().specialFolder(csidl, path), Status::Ok) << csidl;
        EXPECT_TRUE(existsWith(fs(), path, FileAttr::Directory)) << path;
    }
    ASSERT_EQ(shell().tempPath(path), Status::Ok);
    ASSERT_EQ(shell().longPathName(path, longForm), Status::Ok);
    EXPECT_TRUE(path.ends_with('\\') && longForm.ends_with('\\')) << path << " " << longForm;
    EXPECT_TRUE(existsWith(fs(), longForm, FileAttr::Directory)) << longForm;
    EXPECT_EQ(shell().longPathName(at("missing\\file.txt"), longForm), Status::FileNotFound);
}

// It deletes or recycles whole trees and stops at the first item it cannot delete; it knows the
// type of what exists only.
TEST_P(FilesContract, ShellDeletesWhatExistsAndStopsAtTheFirstItemItCannotDelete) {
    for (const char* name : {"tree", "tree\\sub", "slash", "dir"}) folder(name);
    for (const char* name : {"a.txt", "after.txt", "dir\\held.txt", "Ελληνικά.txt"}) write(name, "x");
    write("tree\\sub\\locked.txt", "x", FileAttr::ReadOnly);
    FileTypeInfo type;
    for (const char* item : {"a.txt", "tree"}) {
        ASSERT_EQ(shell().fileType(at(item), type), Status::Ok) << item;
        EXPECT_FALSE(type.typeName.empty()) << item;
        EXPECT_GE(type.iconIndex, 0) << item;
    }
    EXPECT_EQ(run(FileOpKind::Delete, {"a.txt", "tree", "slash\\"}).status, Status::Ok);
    EXPECT_EQ(run(FileOpKind::Delete, {"Ελληνικά.txt"}, {}, FileOpFlag::AllowUndo).status, Status::Ok);
    for (const char* gone : {"a.txt", "tree", "slash", "Ελληνικά.txt"}) EXPECT_FALSE(exists(gone)) << gone;
    EXPECT_NE(shell().fileType(at("a.txt"), type), Status::Ok);
    EXPECT_EQ(shell().execute(0, "open", at("a.txt"), "", "", ShowCmd::Normal), Status::FileNotFound);

    box_->holdOpen(at("dir\\held.txt"));
    const std::pair<Lines, Status> failing[] = {{{"missing.txt", "after.txt"}, Status::FileNotFound},
                                                {{"dir\\held.txt"}, Status::SharingViolation},
                                                {{"dir"}, Status::SharingViolation}};
    for (const auto& [items, expected] : failing) {
        const FileOpResult r = run(FileOpKind::Delete, items);
        EXPECT_EQ(r.status, expected) << items[0];
        EXPECT_FALSE(r.aborted) << items[0];
    }
    EXPECT_TRUE(exists("after.txt"));
    EXPECT_TRUE(exists("dir\\held.txt"));
}

TEST_P(FilesContract, ShellCopiesAndMovesIntoFoldersAndOntoNames) {
    struct Row { FileOpKind kind; const char* item; const char* to; const char* arrives; };
    const Row rows[] = {
        {FileOpKind::Copy, "f.txt", "dest", "dest\\f.txt"},
        {FileOpKind::Copy, "f.txt", "dest\\old.txt", "dest\\old.txt"},
        {FileOpKind::Move, "f.txt", "dest\\", "dest\\f.txt"},
        {FileOpKind::Move, "f.txt", "dest\\old.txt", "dest\\old.txt"},
        {FileOpKind::Move, "tree", "dest", "dest\\tree\\f.txt"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.item) + " to " + row.to);
        for (const char* name : {"dest", "tree"}) folder(name);
        for (const char* name : {"f.txt", "tree\\f.txt", "dest\\old.txt"}) write(name, name);
        const FileOpResult r = run(row.kind, {row.item}, row.to);
        EXPECT_EQ(r.status, Status::Ok);
        EXPECT_FALSE(r.aborted);
        EXPECT_EQ(lines(row.arrives), Lines{std::string(row.item) == "tree" ? "tree\\f.txt" : "f.txt"});
        EXPECT_EQ(exists(row.item), row.kind == FileOpKind::Copy);
        run(FileOpKind::Delete, {"dest", "tree", "f.txt"});  // what is left; the next row makes them anew
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, FilesContract, ::testing::ValuesIn(targets()), targetName);

}  // namespace
}  // namespace quillon::contract
