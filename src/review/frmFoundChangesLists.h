#pragma once
// The changes viewer's seven lists: owner-data lists over the window's ChangeSet. A list asks for
// a row's texts and picture when it draws the row; sorting, Select All and Invert work on the
// model, and the selection is the lists' own state, by model index.
#include <windows.h>

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/Shell.h"
#include "review/ChangeSet.h"
#include "review/FileRowTypes.h"
#include "ui/VirtualListView.h"

namespace quillon::review {

// The seven lists in the order of their tabs.
enum class ChangesList : std::size_t { Files, Registry, WinIni, SystemIni, AutoexecBat, ConfigSys, Values };
inline constexpr std::size_t ChangesListCount = 7;

class ChangesLists final {
public:
    using ListIds = std::array<int, ChangesListCount>;

    ChangesLists(ChangeSet& changes, Shell& shell, ListIds ids) : changes_(changes), ids_(ids), files_(changes, shell) {}
    ChangesLists(const ChangesLists&) = delete;
    ChangesLists& operator=(const ChangesLists&) = delete;

    // The window holding the lists, once it exists.
    void attach(HWND dialog) noexcept;
    ui::VirtualListView list(ChangesList which) const noexcept;

    // A list's request for the texts of a row it draws, or for the row the user typed the
    // beginning of: the value for WM_NOTIFY, nothing for any other notification.
    std::optional<LRESULT> answer(const NMHDR& header);
    // Every list shows as many rows as the model holds.
    void showRows() const;

    // The selected rows of the seven lists, placeholders included.
    Selection selection() const;
    // Takes the rows out of the model; the others keep their order and their selection.
    void removeRows(const Selection& rows);

    // Every row except the placeholders.
    void selectAll() const;
    // Every row that was not selected, except the placeholders.
    void invertSelection() const;
    // A placeholder as first row is let go of.
    void deselectPlaceholder(ChangesList which) const;

    // Each header click reverses the last order, whatever column was sorted before; the
    // selection stays with its rows.
    void sortFiles(int column);
    void sortKeys(int column);
    void sortValues(int column);

    // The type names of these file rows, for a report of rows the user may never have seen.
    void knowTypes(const std::vector<std::size_t>& fileRows) { files_.knowTypes(fileRows); }

private:
    class FileRows final : public ui::ListRows {
    public:
        FileRows(ChangeSet& changes, Shell& shell) : changes_(changes), types_(shell) {}
        std::string cell(std::size_t row, int column) override;
        int image(std::size_t row) override;
        // The hidden column shows the size keys from the first sort by size on.
        bool sizeKeys = false;
        // Every row's type, for sorting by it.
        void knowAllTypes();
        void knowTypes(const std::vector<std::size_t>& rows);

    private:
        ChangeSet& changes_;
        FileRowTypes types_;
    };

    std::size_t rowCount(ChangesList which) const noexcept;
    bool isPlaceholder(ChangesList which, std::size_t row) const;
    // The rows to select: every row (or every row not selected now), placeholders left out.
    std::vector<std::size_t> rowsToSelect(ChangesList which, bool inverted) const;
    // Sorts one list's rows by `sort` and carries its selection along.
    template <typename Row, typename Sort>
    void sortRows(ChangesList which, std::vector<Row>& rows, bool& ascending, int column, Sort sort);

    ChangeSet& changes_;
    ListIds ids_;
    HWND dialog_ = nullptr;
    int folderImage_ = -1;  // of every registry row
    FileRows files_;
    bool filesAscending_ = false;  // so that a first click sorts ascending
    bool keysAscending_ = false;
    bool valuesAscending_ = false;
};

}  // namespace quillon::review
