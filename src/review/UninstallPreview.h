#pragma once
// What an uninstall from a removal list would do, entry by entry, before anything goes: what is
// there and will go, what is gone already, what changed since the list was saved, what another
// saved list also names, what the guard refuses and what is in use. The user ticks what goes.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DateTime.h"
#include "review/ExportTable.h"
#include "review/RemoveAddedLine.h"
#include "review/SavedListClaims.h"
#include "shell/FileRemoval.h"

namespace quillon::review {

// In the order the preview shows them.
enum class PreviewClass { Present, Shared, Changed, InUse, Refused, Gone };
inline constexpr std::size_t PreviewClassCount = 6;
// "Will be removed", "Also in another saved list", …
std::string_view previewClassName(PreviewClass c);

enum class PreviewKind { File, Key, Line, Value };
std::string_view previewKindName(PreviewKind k);

struct PreviewEntry {
    PreviewKind kind = PreviewKind::File;
    std::size_t index = 0;  // in its part of the list; a line: in all four line sections in order
    std::string item;       // as the user reads it
    PreviewClass what = PreviewClass::Present;
    std::string reason;     // empty for an entry that simply goes
    bool ticked = false;
};

struct UninstallPreview {
    std::string program;
    std::vector<PreviewEntry> entries;
    // From the command line nobody can look: shared and changed entries always stay.
    bool sharedAndChangedMayGo = true;

    std::array<std::size_t, PreviewClassCount> counts() const;
    bool mayTick(const PreviewEntry& entry) const;
    // The ticked entries of one kind, by index.
    std::vector<std::size_t> ticked(PreviewKind kind) const;
};

// The confirmation's text: the question, then one line per class that has entries.
std::string previewQuestion(const UninstallPreview& preview);

// The preview as the details window shows it, for export: one row per entry with its class.
ExportTable previewTable(const UninstallPreview& preview);

// Shows the preview and lets the user tick; true when the user says go.
class PreviewPrompt {
public:
    virtual ~PreviewPrompt() = default;
    virtual bool confirm(UninstallPreview& preview) = 0;
};

struct PreviewInput {
    const RemovalListContents& list;
    DateTime saved;  // when the list was written: anything written later is not the installation's
    const SavedListClaims& others;
    const RemovalFolders& folders;
    bool fromCommandLine = false;
};

UninstallPreview previewUninstall(shell::RemovalPorts& ports, const PreviewInput& input, std::string program);

struct ListPreview {
    RemovalListContents list;
    DateTime saved;
    UninstallPreview preview;
};
// Reads the removal list and previews its uninstall beside the other saved lists; false when the
// list cannot be read in full (nothing of it may then be acted on).
bool previewList(shell::RemovalPorts& ports, const RemovalFolders& folders, std::string_view listPath,
                 bool fromCommandLine, ListPreview& out);

}  // namespace quillon::review
