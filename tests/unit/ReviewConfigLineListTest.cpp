#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "review/ConfigLineList.h"

namespace quillon::review {
namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

TEST(ReviewConfigLineList, PairsEachAddedEntryWithItsReplacedEntry) {
    struct Case { const char* name; std::string added; std::string replaced; Pairs rows; };
    const Case cases[] = {
        {"two entries", "load=app.exe\x7fNewKey=1\x7f", "load=\x7f \x7f", {{"load=app.exe", "load="}, {"NewKey=1", " "}}},
        {"both empty", "", "", {}},
        {"text after the last separator is no entry", "a=1\x7ftail", "x\x7fy\x7f", {{"a=1", "x"}}},
        {"an added entry without its replaced entry", "a=1\x7f" "b=2\x7f", "x\x7f", {{"a=1", "x"}, {"b=2", " "}}},
        {"an empty entry is a row", "\x7f" "c=3\x7f", " \x7fold\x7f", {{"", " "}, {"c=3", "old"}}},
        {"blanks inside entries are kept", " a = 1 \x7f", "  \x7f", {{" a = 1 ", "  "}}},
    };
    for (const Case& c : cases) {
        std::vector<LineRow> rows{{"existing", " "}};
        fillConfigLineList(rows, c.added, c.replaced);
        Pairs got;
        for (const LineRow& row : rows) got.emplace_back(row.added, row.replaced);
        Pairs expected{{"existing", " "}};
        expected.insert(expected.end(), c.rows.begin(), c.rows.end());
        EXPECT_EQ(got, expected) << c.name;
    }
}

}  // namespace
}  // namespace quillon::review
