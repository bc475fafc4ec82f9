#include <gtest/gtest.h>

#include "platform/TextCompare.h"

namespace quillon {
namespace {

TEST(TextCompare, MatchesCaseAsWindowsDoes) {
    struct Row { std::string a, b; bool equal; };
    const Row rows[] = {
        {"README.TXT", "readme.txt", true}, {"_a", "_A", true}, {"\u0414\u041e\u041c.TXT", "\u0434\u043e\u043c.txt", true},
        {"\u03a9\u03a3", "\u03c9\u03c2", true}, {"\u00c9T\u00c9", "\u00e9t\u00e9", true}, {"\u00ff", "\u0178", true},
        {"\u2c65", "\u023a", true},  // lengths differ: three bytes against two
        {"\U0001F600", "\U0001F600", true}, {"\U00010428", "\U00010400", false},  // past U+FFFF: as two surrogates
        {"\u00df", "SS", false}, {"\u00df", "\u1e9e", false}, {"\u0130", "i", false}, {"\u0130", "I", false},
        {"\u0131", "I", false}, {"\u017f", "S", false}, {"\u212a", "k", false}, {"\u00b5", "\u039c", false},
        {"\xe9", "\xc9", false}, {"\xc3", "\xc3\xa9", false}, {"\xff", "\xff", true}, {"a\xc3", "A\xc3", true},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(equalsNoCase(r.a, r.b), r.equal) << r.a << " / " << r.b;
        EXPECT_EQ(equalsNoCase(r.b, r.a), r.equal) << r.b << " / " << r.a;
        EXPECT_EQ(toLowerAnsi(r.a) == toLowerAnsi(r.b), r.equal) << r.a << " / " << r.b;
    }
    EXPECT_EQ(toLowerAnsi("AbC_\u0434"), "abc_\u0414") << "ASCII to lower case, the rest to upper";
}

TEST(TextCompare, PartsAreFoundInAnyScript) {
    EXPECT_TRUE(startsWithNoCase("\u0414\u043e\u043c\\file", "\u0434\u041e\u041c\\"));
    EXPECT_TRUE(endsWithNoCase("C:\\\u65e5\\\u0414\u041e\u041c.TXT", "\u0434\u043e\u043c.txt"));
    EXPECT_TRUE(endsWithNoCase("x\u2c65", "\u023a"));
    EXPECT_FALSE(endsWithNoCase("\u00e9", "\xa9"));
    EXPECT_FALSE(endsWithNoCase("ab", "abc"));
    EXPECT_EQ(findNoCase("C:\\\u65e5\u672c\\SETUP.EXE", "setup"), 10u);
    EXPECT_EQ(findNoCase("\u00e9\u00c9", "\u00c9", 1), 0u + std::string_view("\u00e9").size());
    EXPECT_EQ(findNoCase("\u00e9", "\xa9"), std::string_view::npos);
    EXPECT_EQ(findNoCase("abc", ""), 0u);
}

}  // namespace
}  // namespace quillon
