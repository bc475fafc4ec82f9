#pragma once
// The tests of a top-level window's title and class that make it an installation program's.
#include <string_view>

namespace quillon::scheduler {

// Contains "install" or "setup" and none of "Uninstall", "deinstall" and "Notification", in any
// case. Only what the system's 254-character title buffer holds counts.
bool hasSetupTitle(std::string_view title);

// Windows of these classes are never a setup program's, whatever their title. A class counts
// as one of them when its name occurs anywhere in their joined list, in any case.
bool isIgnoredWindowClass(std::string_view className);

}  // namespace quillon::scheduler
