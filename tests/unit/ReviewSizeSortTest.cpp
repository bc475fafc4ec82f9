#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "review/SizeSortKey.h"
#include "shell/FormatSize.h"

namespace quillon::review {
namespace {

TEST(ReviewSizeSort, KeyIsTheSizeInKilobytesOnNineDigits) {
    struct Row { const char* sizeText; const char* key; };
    const Row rows[] = {
        {"0KB", "000000000"},   {"1KB", "000000001"},   {"1023KB", "000001023"}, {"12MB", "000012288"},
        {"1GB", "001048576"},   {"953GB", "999292928"}, {"954GB", "000341504"},  // the tenth digit is cut off
        {"", "000000000"},      {"KB", "000000000"},
    };
    for (const Row& r : rows) EXPECT_EQ(sizeSortKey(r.sizeText), r.key) << r.sizeText;
}

TEST(ReviewSizeSort, TextOrderOfTheKeysIsSizeOrder) {
    constexpr double KB = 1024, MB = KB * 1024, GB = MB * 1024;
    // Ascending sizes across every unit boundary the size text has.
    const double sizes[] = {0, 511, 512, 1023, 1024, 2047, 2048, 999 * KB, MB - 1, MB, 2 * MB, 9 * MB,
                            10 * MB, 100 * MB, 1023 * MB, GB, 2 * GB, 512 * GB};
    std::vector<std::string> keys;
    for (const double bytes : sizes) keys.push_back(sizeSortKey(shell::formatSize(bytes, false)));
    EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end()));
    EXPECT_LT(sizeSortKey("1KB"), sizeSortKey("2MB"));
    EXPECT_LT(sizeSortKey("2MB"), sizeSortKey("1GB"));
}

}  // namespace
}  // namespace quillon::review
