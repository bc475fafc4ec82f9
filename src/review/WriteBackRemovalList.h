#pragma once
// The viewer closing after a review: the reviewed removal list keeps what is left in it.
#include <string_view>

#include "platform/FileSystem.h"
#include "review/ChangeSet.h"
#include "review/RemovalListWriter.h"

namespace quillon::review {

// Rewrites `reviewedDataFile` with every row now in the viewer, selected or not, less the
// registry and line rows marked "scanning not", with the entries the load found absent and
// then `keptAside` (what the conversion could not turn into rows); deletes it when no entry is
// left. With no list under review (empty path) nothing happens and the result is {0, true}.
// `written` is false when the list could not be rewritten (it is then as it was) or not deleted.
[[nodiscard]] WriteResult writeBackRemovalList(FileSystem& files, std::string_view reviewedDataFile,
                                               const ChangeSet& changes, const RemovalListEntries& keptAside = {});

}  // namespace quillon::review
