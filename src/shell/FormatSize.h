#pragma once
#include <string>

namespace quillon::shell {

// The size text shown everywhere: "0KB" below 512 bytes, "1KB" below 1024, else KB, MB, GB
// or TB with the whole part and, withDecimal, one truncated decimal digit ("1.5 KB").
std::string formatSize(double bytes, bool withDecimal);

}  // namespace quillon::shell
