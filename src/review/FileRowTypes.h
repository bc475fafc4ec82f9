#pragma once
// The type names and small icons of the files list, asked of the shell only for the rows the
// user gets to see (about 2 ms a question under Wine). A type name is the same for every file
// of an extension, and so is the icon except for the kinds that carry their own (programs,
// icons, shortcuts...), whose files are asked one by one; a folder row is asked for its icon.
#include <map>
#include <optional>
#include <string>

#include "platform/Shell.h"
#include "review/ChangeSet.h"

namespace quillon::review {

class FileRowTypes {
public:
    explicit FileRowTypes(Shell& shell) : shell_(shell) {}

    // Fill the row's typeName or iconIndex the first time; empty or -1 when the shell has none.
    const std::string& typeName(FileRow& row);
    int icon(FileRow& row);

private:
    const std::optional<FileTypeInfo>& ofExtension(const FileRow& row);

    Shell& shell_;
    std::map<std::string, std::optional<FileTypeInfo>> byExtension_;
};

}  // namespace quillon::review
