#pragma once
// Stands in for the windows the main program opens: records which operation was started.
#include <string>
#include <vector>

#include "shell/MainOperations.h"

namespace quillon::fakes {

struct RecordingOperations final : shell::MainOperations {
    std::vector<std::string> calls;
    void updateDatabase() override { calls.push_back("update"); }
    void findChanges() override { calls.push_back("find"); }
    void reviewRemovalList() override { calls.push_back("review"); }
    void uninstallFromDataFile(const std::string& path, bool) override { calls.push_back("uninstall " + path); }
    void systemCleanUp() override { calls.push_back("cleanup"); }
    void options() override { calls.push_back("options"); }
    bool canUndo = false;
    bool canUndoRemoval() override { return canUndo; }
    void undoLastRemoval() override { calls.push_back("undo"); }
};

}  // namespace quillon::fakes
