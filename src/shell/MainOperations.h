#pragma once
// The operations the main program starts from its window and its command line. Each runs
// modally and returns when its window has closed.
#include <string>

namespace quillon::shell {

class MainOperations {
public:
    virtual ~MainOperations() = default;
    virtual void updateDatabase() = 0;
    virtual void findChanges() = 0;
    virtual void reviewRemovalList() = 0;
    // From the command line (and Explorer) nobody may tick shared or changed entries.
    virtual void uninstallFromDataFile(const std::string& removalList, bool fromCommandLine) = 0;
    virtual void systemCleanUp() = 0;
    virtual void options() = 0;
    // The latest removal's undo record, while it was not undone yet.
    virtual bool canUndoRemoval() = 0;
    virtual void undoLastRemoval() = 0;
};

}  // namespace quillon::shell
