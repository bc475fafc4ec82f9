#pragma once
// The options dialog: every setting of scanning, removal, the scheduler and setup detection on
// four tabs. It reads the settings when it opens and writes them all on OK; Cancel writes
// nothing.
#include <windows.h>

#include <string>
#include <vector>

#include "options/OptionsSettings.h"
#include "platform/Ports.h"
#include "ui/Dialog.h"
#include "ui/ListView.h"

namespace quillon::options {

class frmOptions final : public ui::Dialog {
public:
    // driveEntries: the main window's drive list.
    frmOptions(Ports& ports, std::vector<std::string> driveEntries);

    ui::ListView foldersList() const noexcept;
    ui::ListView programsList() const noexcept;
    ui::ListView keysList() const noexcept;

private:
    void onCreate() override;
    void onCommand(int id, int code, HWND control) override;
    std::optional<LRESULT> onNotify(const NMHDR& header) override;
    std::optional<LRESULT> onMessage(UINT msg, WPARAM wp, LPARAM lp) override;

    void show(const OptionsSettings& options);
    OptionsSettings chosen() const;
    void showPage(int page);
    void addFolder();
    void addFolderRow(const std::string& folder);
    void addKey();
    std::vector<std::string> listedKeys() const;
    void addProgramRow(const IgnoredProgram& program);
    void enableRegistryOptions();
    void enableProgramList();
    void removeSelected(const ui::ListView& list);
    void showHelp();
    bool checked(int id) const noexcept;
    void check(int id, bool on) const noexcept;

    Ports& ports_;
    std::vector<std::string> driveEntries_;
};

}  // namespace quillon::options
