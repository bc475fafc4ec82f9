#pragma once
// Which files count as junk: the twelve junk types of the clean-up settings and the rules that
// turn a file name into its type key. The clean-up window's scans and the scheduler's task
// pass decide with the same rules; the pass adds only its age limit.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "platform/DateTime.h"
#include "shell/Settings.h"

namespace quillon::cleanup {

struct JunkType {
    std::string_view setting;  // value name under the Sys Clean key
    std::string_view pattern;  // its part of a pattern list
    bool onAtFirstRun;         // also: how a missing value reads ("0" unchecks, or only "1" checks)
};

inline constexpr std::array<JunkType, 12> JunkTypes{{
    {settings::sysclean::BakFiles, "|.bak|", true},
    {settings::sysclean::OldFiles, "|.old|", true},
    {settings::sysclean::TmpFiles, "|.tmp|", true},
    {settings::sysclean::GidFiles, "|.gid|", true},
    {settings::sysclean::PrevCompressedFiles, "|.---|", true},
    {settings::sysclean::ChkFiles, "|.chk|", true},
    {settings::sysclean::DollarFiles, "|.??$|", true},
    {settings::sysclean::TildeFiles, "|.~??|", true},
    {settings::sysclean::ChklistFiles, "|chklist.???|", true},
    {settings::sysclean::MscreateFiles, "|mscreate.dir|", false},
    {settings::sysclean::LogFiles, "|.log|", true},
    {settings::sysclean::FtsFiles, "|.fts|.ftg|", true},
}};

// A pattern list that takes every file.
inline constexpr std::string_view AllFiles = "*.*";
// The key of files that are never listed, whatever the pattern list.
inline constexpr std::string_view NeverListed = "|.mml|";

// The part of the name from its first full stop on ("report.old.bak" gives ".old.bak"), or
// the whole name.
std::string_view typeText(std::string_view name);

struct JunkRuleDates {
    DateTime today;
    // Files changed fewer than this many days ago are never listed; 0 lets any age through.
    int keepYoungerThanDays = 0;
};

// "|" + type text + "|" after the replacement rules, in their order; NeverListed for the
// files that must stay (setup logs, data files, desktop.ini, today's .tmp files, young files).
std::string typeKey(std::string_view name, const DateTime& lastWrite, const JunkRuleDates& dates);

// The pattern list lists a file of this key.
bool listsType(std::string_view patternList, std::string_view key);

}  // namespace quillon::cleanup
