#include "cleanup/JunkTypes.h"

#include <algorithm>

#include "platform/TextCompare.h"

namespace quillon::cleanup {

namespace {

bool contains(std::string_view text, std::string_view part) { return findNoCase(text, part) != std::string_view::npos; }

bool containsAny(std::string_view text, std::initializer_list<std::string_view> parts) {
    return std::any_of(parts.begin(), parts.end(), [text](std::string_view p) { return contains(text, p); });
}

bool sameDay(const DateTime& a, const DateTime& b) { return a.year == b.year && a.month == b.month && a.day == b.day; }

}  // namespace

std::string_view typeText(std::string_view name) {
    const std::size_t dot = name.find('.');
    return dot == std::string_view::npos ? name : name.substr(dot);
}

std::string typeKey(std::string_view name, const DateTime& lastWrite, const JunkRuleDates& dates) {
    std::string_view type = typeText(name);
    const std::size_t dot = name.find('.');
    if (dot != std::string_view::npos && contains(name.substr(0, dot), "chklist")) type = "chklist.???";
    if (contains(type, ".dir") && contains(name, "mscreate.dir")) type = "mscreate.dir";
    if (contains(type, "$")) type = ".??$";
    if (type.size() > 1 && type[1] == '~') type = ".~??";

    const bool keep = (contains(type, ".log") &&
                       containsAny(name, {"install.log", "setup.log", "unst", "rp.log", "fifo.log"})) ||
                      (contains(type, ".bak") && containsAny(name, {"data.bak", "opa11.bak"})) ||
                      contains(type, ".dat") || contains(name, "desktop.ini") ||
                      (contains(type, ".tmp") && sameDay(lastWrite, dates.today)) ||
                      (dates.keepYoungerThanDays > 0 &&
                       dayNumber(dates.today) - dayNumber(lastWrite) < dates.keepYoungerThanDays);
    if (keep) return std::string(NeverListed);
    return "|" + std::string(type) + "|";
}

bool listsType(std::string_view patternList, std::string_view key) {
    if (equalsNoCase(key, NeverListed)) return false;
    return patternList == AllFiles || contains(patternList, key);
}

}  // namespace quillon::cleanup
