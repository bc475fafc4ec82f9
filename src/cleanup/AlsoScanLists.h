#pragma once
// The rules of the two "Also scan" lists: the user's own file types and folders.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::cleanup {

// The row for an answer to "Enter the file extension": what follows its first full stop,
// kept whole at up to 4 characters and cut to 3 when longer, after "*." ("htm.x" gives "*.x",
// "abcdef" gives "*.abc"). Nothing for an answer that leaves no extension.
std::optional<std::string> fileTypeRow(std::string_view answer);

// Adds the answer's row unless the list holds it already (case ignored); true when added.
bool addFileType(std::vector<std::string>& rows, std::string_view answer);

// Adds a chosen folder (no trailing "\"): nothing for a drive root or a folder that a listed
// one holds already; a listed folder inside the chosen one gives its place up. True when the
// list changed.
bool addFolder(std::vector<std::string>& rows, std::string_view chosen);

}  // namespace quillon::cleanup
