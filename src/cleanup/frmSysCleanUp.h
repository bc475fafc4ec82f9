#pragma once
// The clean-up window: the scan settings on tabs, Scan Now with its menu of scans, one result
// list for every scan, and Delete and Move for the rows the user selects. The settings are
// read when it opens and written when it closes.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "cleanup/CleanUpSettings.h"
#include "cleanup/JunkScans.h"
#include "cleanup/ResultActions.h"
#include "cleanup/ScanResults.h"
#include "platform/Ports.h"
#include "platform/win32/Handles.h"
#include "ui/Dialog.h"
#include "ui/MessagePump.h"
#include "ui/StatusHelp.h"
#include "ui/VirtualListView.h"

namespace quillon::cleanup {

struct CleanUpFolders {
    std::string data;  // where removed files are kept when the settings say so, ending in "\\"
    std::string work;  // where the duplicate scan keeps its work file, ending in "\\"
};

class frmSysCleanUp final : public ui::Dialog, private ui::ListRows {
public:
    // driveEntries: the main window's drive list.
    frmSysCleanUp(Ports& ports, std::vector<std::string> driveEntries, CleanUpFolders folders);

    ui::VirtualListView resultList() const noexcept;
    const ScanResults& results() const noexcept { return results_; }
    bool isScanning() const noexcept { return scanning_; }

private:
    void onCreate() override;
    void onCommand(int id, int code, HWND control) override;
    std::optional<LRESULT> onNotify(const NMHDR& header) override;
    void followScaling(UINT dpi);
    std::optional<LRESULT> onMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void onSize(int width, int height) override;
    void onClose() override;

    std::string cell(std::size_t row, int column) override;
    int image(std::size_t row) override;

    void show(const CleanUpSettings& settings);
    CleanUpSettings chosen() const;
    void showPage(int page) const;
    void showFolderRows(const std::vector<std::string>& folders) const;

    void openScanMenu();
    void runScan(int menuId);
    void scanTemporaryFiles(ScanPorts& ports);
    void scanTemporaryFolders(ScanPorts& ports);
    void scanDuplicateFiles(WalkPorts& ports);
    void scanDllFiles(WalkPorts& ports);
    std::string driveToken() const;
    void startScan();
    void stopScan();
    void showScanTotals();
    void layoutResults() const;
    void limitSize(MINMAXINFO& limits) const;

    void addFileType();
    void addFolder();
    void removeSelected(int listId, bool all) const;
    void selectAll();
    void showSelectionTotals();
    void sortResults(int column);
    void openSelected();
    void deleteSelected();
    void moveSelected();
    std::vector<std::size_t> selectedResults() const;
    using RemovalCommand = std::function<void(shell::RemovalPorts&, const std::vector<std::size_t>&)>;
    void runRemoval(const RemovalCommand& command);
    void showHelp();
    void close();

    Ports& ports_;
    std::vector<std::string> driveEntries_;
    std::string dataFolder_;
    std::string workFolder_;
    ScanResults results_;
    ResultKind kind_ = ResultKind::JunkFiles;
    win32::MenuHandle scanMenu_;
    ui::StopFlag stop_;
    ui::StatusHelp help_;
    SIZE designSize_{};     // the window before the first scan, in pixels
    int scanHeight_ = 0;    // its height once a scan has shown the list
    UINT dpi_ = 0;          // the scaling those two were measured at
    bool listShown_ = false;
    bool scanning_ = false;
    bool removing_ = false;
    bool closePending_ = false;
    bool ascending_ = false;  // the order of the last sort; the first click sorts ascending
    bool sorted_ = false;
    ResultColumn sortColumn_ = ResultColumn::Name;
};

// Opens the window modally over `owner` and returns when it has closed.
void showSysCleanUp(Ports& ports, HWND owner, std::vector<std::string> driveEntries, CleanUpFolders folders);

}  // namespace quillon::cleanup
