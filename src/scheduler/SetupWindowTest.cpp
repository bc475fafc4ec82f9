#include "scheduler/SetupWindowTest.h"

#include <array>

#include "platform/TextCompare.h"

namespace quillon::scheduler {

namespace {

constexpr std::size_t TitleCharacters = 253;

constexpr std::string_view IgnoredClasses =
    "CabinetWClass\x7f" "ExploreWClass\x7f" "IEFrame\x7f" "OpusApp\x7f" "MS_WINHELP\x7f" "HH Parent\x7f"
    "Notepad\x7f" "WordPadClass\x7f" "Opera Main Window\x7f";

bool containsNoCase(std::string_view text, std::string_view part) { return findNoCase(text, part) != std::string_view::npos; }

}  // namespace

bool hasSetupTitle(std::string_view title) {
    title = title.substr(0, TitleCharacters);
    if (!containsNoCase(title, "install") && !containsNoCase(title, "setup")) return false;
    constexpr std::array<std::string_view, 3> refused{"Uninstall", "deinstall", "Notification"};
    for (const std::string_view word : refused)
        if (containsNoCase(title, word)) return false;
    return true;
}

bool isIgnoredWindowClass(std::string_view className) { return containsNoCase(IgnoredClasses, className); }

}  // namespace quillon::scheduler
