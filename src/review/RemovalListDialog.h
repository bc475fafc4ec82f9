#pragma once
// The open and save dialogs of removal lists: only ".qdf" files, opening where the user saved
// the last one.
#include "platform/Prompter.h"
#include "platform/Registry.h"

namespace quillon::review {

FileDialogRequest removalListDialog(Registry& registry);

}  // namespace quillon::review
