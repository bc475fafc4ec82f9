#pragma once
// The changes viewer: what a find-changes run (or a reviewed removal list) found, in seven
// lists on seven tabs, and the commands that act on the selected rows. The window keeps the
// rows as a ChangeSet, in the order the user sees them; the lists show it (frmFoundChangesLists.h).
#include <windows.h>

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "platform/Ports.h"
#include "review/ChangeRemoval.h"
#include "review/ChangeSet.h"
#include "review/frmFoundChangesLists.h"
#include "ui/Dialog.h"
#include "ui/MessagePump.h"
#include "ui/StatusHelp.h"

namespace quillon::review {

// What the caller sets before the window is shown; a find-changes run sets only the folder.
struct FoundChangesInput {
    std::string workFolder;    // where the changes files lie, ending in "\"
    std::string dataFileName;  // the removal list under review (file name only), or empty
    std::string dataFileDate;  // the date of what is shown; empty: the time of the load
    std::string dataFolder;    // where removed files are kept when the settings say so, ending in "\"
    // When the list under review was saved; empty: the changes were just found.
    std::optional<DateTime> listSaved = {};
    std::string listPath = {};  // the list under review in full, for its preview
};

class frmFoundChanges final : public ui::Dialog {
public:
    // Runs once when the window closes (OK, Esc or the close box), while it still shows its
    // rows: the reviewed removal list's write-back. Not run when the window was closed before
    // its load had finished.
    using ClosingHandler = std::function<void(frmFoundChanges&)>;

    frmFoundChanges(Ports& ports, FoundChangesInput input, ClosingHandler closing = {});

    // The changes files have been read and the lists filled.
    bool isLoaded() const noexcept { return loaded_; }
    const ChangeSet& changes() const noexcept { return changes_; }
    const std::string& workFolder() const noexcept { return input_.workFolder; }
    const std::string& dataFileName() const noexcept { return input_.dataFileName; }
    const std::string& dataFileDate() const noexcept { return input_.dataFileDate; }

    // The selected rows of the seven lists, placeholders included, in the order shown.
    Selection selection() const;
    // Takes these rows out of the model and out of the lists; the others keep their order,
    // their selection and their place in the lists.
    void removeRows(const Selection& rows);
    // The list control of one list (valid while the window is open).
    ui::VirtualListView list(ChangesList which) const noexcept { return lists_.list(which); }
    // Shift alone was held at the last mouse press on "&Delete selected". It is handed to the
    // removal, which lets the DeleteMode setting decide all the same.
    bool permanentDelete() const noexcept { return permanentDelete_; }

private:
    void onCreate() override;
    std::optional<LRESULT> onMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void onCommand(int id, int code, HWND control) override;
    std::optional<LRESULT> onNotify(const NMHDR& header) override;
    void onClose() override;

    void createColumns();
    void load();
    void showPage(int page);
    void close();

    void selectAll();
    void invertSelection();
    void updateSelectionSize();
    void openSelectedFiles();
    void startRegistryEditor(ChangesList from);
    void showHelp();

    void saveSelected();
    void deleteSelected();
    void moveSelected();
    void printSelected();
    // Every row of every list, not only the selected ones: what the viewer shows.
    void exportAll();
    void showPreview();
    shell::RemovalPorts removalPorts(RunContext& run);
    RemovalFolders removalFolders() const;
    void notePress(WPARAM event, LPARAM at);
    using RemovalCommand = std::function<void(RemovalContext&, ChangeSet&, const Selection&)>;
    void runRemoval(const RemovalCommand& command);

    Ports& ports_;
    FoundChangesInput input_;
    DateTime installedBy_;  // files written later inside a folder to remove are the user's
    ClosingHandler closing_;
    ChangeSet changes_;
    ChangesLists lists_;
    ui::StopFlag stop_;
    ui::StatusHelp help_;
    bool loading_ = false;
    bool loaded_ = false;
    bool closePending_ = false;
    bool cutShort_ = false;  // closed before the rows were all in
    bool closed_ = false;
    bool sizing_ = false;
    bool removing_ = false;
    bool permanentDelete_ = false;
};

// Opens the viewer modally over `owner` and returns when it has closed.
void showFoundChanges(Ports& ports, HWND owner, FoundChangesInput input,
                      frmFoundChanges::ClosingHandler closing = {});
// The viewer at the end of a find-changes run: the changes files of the work folder only.
void showFoundChanges(Ports& ports, HWND owner, std::string workFolder, std::string dataFolder);

}  // namespace quillon::review
