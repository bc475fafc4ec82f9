#include "review/RemovalListDialog.h"

#include "review/RemovalListFormat.h"
#include "shell/Settings.h"
#include "shell/modRegistry.h"

namespace quillon::review {

FileDialogRequest removalListDialog(Registry& registry) {
    FileDialogRequest request;
    request.filter = removal_list::DialogFilter;
    request.defaultExtension = removal_list::DefaultExtension;
    const shell::KeyPtr general = shell::openKey(registry, Hive::CurrentUser, settings::GeneralKey);
    request.initialFolder = shell::queryValue(general.get(), settings::general::OpenSavePath);
    return request;
}

}  // namespace quillon::review
