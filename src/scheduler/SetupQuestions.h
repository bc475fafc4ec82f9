#pragma once
// The two questions of setup detection, asked modally: frmAskForScan before the installation,
// frmAskForFind after it.
namespace quillon::scheduler {

// What frmAskForScan leaves when it closes, by a button or otherwise (then `update` is false).
struct ScanAnswer {
    bool update = false;
    bool ignoreThisSetup = false;     // "Ignore this particular Setup only"
    bool turnOffDetection = false;    // "Turn off Automatic Setup Detection"
};

class SetupQuestions {
public:
    virtual ~SetupQuestions() = default;
    virtual ScanAnswer askForScan() = 0;
    // True on Yes.
    virtual bool askForFind() = 0;
};

}  // namespace quillon::scheduler
