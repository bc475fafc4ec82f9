#pragma once
// The shell over the in-memory file system: its file operation really copies, moves and
// deletes there, and everything else it is asked is recorded. Special folders and the temporary
// path are what the test sets; nothing is set at first. Every file is of one type, "File".
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/FakeFileSystem.h"
#include "platform/Shell.h"

namespace quillon::fakes {

class FakeShell final : public Shell {
public:
    explicit FakeShell(FakeFileSystem& files) : files_(files) {}

    void setSpecialFolder(int csidl, std::string path) { folders_[csidl] = std::move(path); }
    // The short form as the system gives it (with its "\"); longPathName turns it, and any
    // path below it, into the long form, which must exist in the file system.
    void setTempPath(std::string shortForm, std::string longForm);

    // The next file operation does nothing, as when the user presses Cancel.
    void cancelNextOperation() { cancelNext_ = true; }
    // Files larger than this do not fit in the Recycle Bin.
    void setRecycleBinLimit(std::size_t bytes) { recycleBinLimit_ = bytes; }

    // Every file operation as passed, failed and cancelled ones included.
    const std::vector<FileOperation>& operations() const { return operations_; }
    // What deletions with AllowUndo sent to the Recycle Bin.
    const std::vector<std::string>& recycled() const { return recycled_; }
    const std::vector<std::string>& restartDeletions() const { return restartDeletions_; }

    Status specialFolder(int csidl, std::string& path) override;
    Status tempPath(std::string& path) override {
        path = tempShort_.value_or("");
        return tempShort_ ? Status::Ok : Status::PathNotFound;
    }
    Status longPathName(std::string_view path, std::string& longPath) override;
    FileOpResult fileOperation(const FileOperation& op) override;
    Status deleteAtRestart(std::string_view path) override {
        restartDeletions_.emplace_back(path);
        return Status::Ok;
    }
    Status emptyRecycleBin(WindowRef, std::string_view, std::uint32_t) override {
        ++recycleBinEmptied_;
        return Status::Ok;
    }
    int recycleBinEmptied() const { return recycleBinEmptied_; }
    Status execute(WindowRef owner, std::string_view verb, std::string_view file, std::string_view parameters,
                   std::string_view folder, int show) override;
    Status fileType(std::string_view path, FileTypeInfo& out) override;
    Status help(WindowRef, std::string_view, std::uint32_t, std::string_view) override { return Status::Ok; }

private:
    bool isFolder(const std::string& path) const;
    Status removeItem(const std::string& path);
    Status transferItem(const std::string& from, const std::string& to, bool move);
    Status transfer(const FileOperation& op);
    std::vector<std::string> expand(const FileOperation& op) const;

    FakeFileSystem& files_;
    std::map<int, std::string> folders_;
    std::optional<std::string> tempShort_;
    std::vector<std::pair<std::string, std::string>> shortToLong_;
    bool cancelNext_ = false;
    std::optional<std::size_t> recycleBinLimit_;
    int recycleBinEmptied_ = 0;

    std::vector<FileOperation> operations_;
    std::vector<std::string> recycled_;
    std::vector<std::string> restartDeletions_;
};

}  // namespace quillon::fakes
