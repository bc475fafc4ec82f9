#include "cleanup/ScanJunkFolders.h"

#include <string>

#include "platform/TextCompare.h"
#include "shell/FileRemoval.h"
#include "shell/TreeWalk.h"

namespace quillon::cleanup {

namespace {

class JunkRules final : public shell::WalkRules {
public:
    JunkRules(WalkPorts& ports, const cleanup::WalkRules& rules, const JunkFound& found)
        : ports_(ports), rules_(rules), found_(found) {}

    shell::WalkStep openFolder(const std::string& folder) {
        if (rules_.ignore.ignores(folder)) return shell::WalkStep::Skip;
        ports_.progress.showFolder(folder);
        return shell::WalkStep::Go;
    }
    shell::WalkStep handOn(const std::string& folder, const FileInfo& file) {
        const std::string key = typeKey(file.name, file.lastWrite, rules_.dates);
        if (listsType(rules_.patternList, key) && !shell::fileInUse(ports_.files, folder + file.name))
            found_(folder, file, key);
        return shell::WalkStep::Go;
    }
    bool entersFolder(const std::string&, const FileInfo& entry) {
        return findNoCase(entry.name, "recycled") == std::string::npos;
    }

private:
    WalkPorts& ports_;
    const cleanup::WalkRules& rules_;
    const JunkFound& found_;
};

}  // namespace

bool scanJunkFolders(WalkPorts& ports, std::string_view start, const WalkRules& rules, ScanResults& results) {
    return walkJunk(ports, start, rules, [&](const std::string& folder, const FileInfo& file, const std::string& key) {
        const std::uint32_t type = askType(ports.shell, results, key, folder + file.name);
        results.add({file.name, folder, static_cast<double>(file.size), type});
    });
}

bool walkJunk(WalkPorts& ports, std::string_view start, const WalkRules& rules, const JunkFound& found) {
    // Sub-folders go on top as they are listed, so the one listed last is walked first. A folder
    // whose listing fails is passed over with what it gave.
    JunkRules junk(ports, rules, found);
    return shell::walkTree(ports.files, ports.run, start, {}, junk).end != shell::WalkEnd::Stopped;
}

}  // namespace quillon::cleanup
