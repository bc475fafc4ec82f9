#pragma once
// The product's addresses on the web, opened by the Help menu and the about box.
#include <string_view>

namespace quillon::addresses {

inline constexpr std::string_view WebSite = "https://quillon.example.com/";
inline constexpr std::string_view SupportPages = "https://quillon.example.com/support/";
inline constexpr std::string_view Upgrade = "https://quillon.example.com/upgrade/";
inline constexpr std::string_view SupportMail = "mailto:support@quillon.example.com";

}  // namespace quillon::addresses
