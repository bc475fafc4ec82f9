#include "shell/modGeneral.h"

#include "platform/TextCompare.h"

namespace quillon::shell {

std::size_t lastPosition(std::string_view text, std::string_view part) {
    if (part.empty() || part.size() > text.size()) return 0;
    for (std::size_t i = text.size() - part.size() + 1; i-- > 0;)
        if (equalsNoCase(text.substr(i, part.size()), part)) return i + 1;
    return 0;
}

Status openWithAssociatedProgram(Shell& shell, std::string_view path, std::string_view workFolder,
                                 WindowRef owner) {
    return shell.execute(owner, "open", path, "", workFolder, ShowCmd::Normal);
}

}  // namespace quillon::shell
