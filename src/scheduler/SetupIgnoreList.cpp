#include "scheduler/SetupIgnoreList.h"

#include <charconv>

#include "platform/TextCompare.h"
#include "shell/RecentRemovalLists.h"
#include "shell/Settings.h"
#include "shell/modRegistry.h"

namespace quillon::scheduler {

namespace {

constexpr const char* DayNames[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
constexpr const char* MonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::optional<std::uint64_t> decimal(std::string_view text) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return value;
}

}  // namespace

bool isIgnoredSetup(std::string_view windowsToIgnore, std::string_view fileName, std::optional<std::uint64_t> size) {
    if (!size) return false;
    const std::vector<std::string> items = shell::splitList(windowsToIgnore);
    for (std::size_t i = 0; i + 1 < items.size(); i += 2)
        if (equalsNoCase(items[i], fileName) && decimal(items[i + 1]) == size) return true;
    return false;
}

std::string addedOnText(const DateTime& day) {
    const int month = day.month >= 1 && day.month <= 12 ? day.month : 1;
    return std::string(DayNames[weekday(day) - 1]) + ", " + MonthNames[month - 1] + " " + std::to_string(day.day) + " " +
           std::to_string(day.year);
}

std::optional<std::uint64_t> programSize(FileSystem& files, std::string_view path) {
    FileInfo info;
    if (!succeeded(files.info(path, info)) || (info.attributes & FileAttr::Directory)) return std::nullopt;
    return info.size;
}

void ignoreSetup(Registry& registry, FileSystem& files, Clock& clock, const DetectedSetup& program) {
    const std::optional<std::uint64_t> size = programSize(files, program.path);
    if (!size) return;
    const std::string sep(1, settings::ListSeparator);
    const std::string folder = program.path.substr(0, program.path.rfind('\\') + 1);
    const shell::KeyPtr key = shell::openKey(registry, Hive::CurrentUser, settings::SchedulerKey);
    const auto append = [&](std::string_view name, const std::string& entry) {
        return shell::setValue(key.get(), name, shell::queryValue(key.get(), name) + entry);
    };
    // The information list follows the names only when they took the entry, so the two keep in step.
    if (succeeded(append(settings::scheduler::WindowsToIgnore, program.fileName + sep + std::to_string(*size) + sep)))
        static_cast<void>(append(settings::scheduler::WindowsToIgnoreInfo,  // only shown beside the names
                                 folder + sep + addedOnText(clock.now()) + sep));
}

}  // namespace quillon::scheduler
