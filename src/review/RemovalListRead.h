#pragma once
// A removal list read whole before anything of it goes: the uninstall's preview, its undo record
// and the claims of the other saved lists all need every entry first.
#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/RunContext.h"
#include "review/ChangeSet.h"
#include "review/RemovalListFormat.h"

namespace quillon::review {

struct RemovalListContents {
    std::vector<std::string> paths;
    std::string registryHeader = std::string(removal_list::RegistryHeader);
    std::vector<std::string> keys;
    struct Line {
        std::string entry;  // as the list spells it
        std::string added;
        std::string replaced;
    };
    std::array<std::vector<Line>, ConfigListCount> lines;
    std::vector<std::pair<std::string, ValueRow>> values;  // as the list spells each, and read
};

// False when the list cannot be opened, does not begin with the files section, holds a value
// entry that cannot be read, or cannot be read to its end: such a list is not acted on in part.
bool readRemovalList(FileSystem& files, RunContext& run, std::string_view path, RemovalListContents& out);

}  // namespace quillon::review
