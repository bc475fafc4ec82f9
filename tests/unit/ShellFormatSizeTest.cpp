#include <gtest/gtest.h>

#include "shell/FormatSize.h"

namespace quillon::shell {
namespace {

TEST(FormatSize, AcrossUnitBoundaries) {
    constexpr double KB = 1024, MB = KB * 1024, GB = MB * 1024, TB = GB * 1024;
    struct Row { double bytes; bool withDecimal; const char* text; };
    const Row rows[] = {
        {0, false, "0KB"},           {511, true, "0KB"},         {512, false, "1KB"},
        {1023, true, "1KB"},         {1024, false, "1KB"},       {1024, true, "1KB"},
        {1536, true, "1.5 KB"},      {1536, false, "1KB"},       {2047, true, "1.9 KB"},
        {1.3 * KB, true, "1.3 KB"},  {3 * MB, true, "3MB"},      {1048576, false, "1MB"},
        {5400000000.0, false, "5GB"}, {5400000000.0, true, "5GB"}, {1.5 * GB, true, "1.5 GB"},
        {1.5 * TB, true, "1.5 TB"},  {1.5 * TB, false, "1TB"},   {2048 * TB, false, "2048TB"},
        {MB - 1, true, "1023.9 KB"},
    };
    for (const auto& r : rows) EXPECT_EQ(formatSize(r.bytes, r.withDecimal), r.text) << r.bytes << " " << r.withDecimal;
}

}  // namespace
}  // namespace quillon::shell
