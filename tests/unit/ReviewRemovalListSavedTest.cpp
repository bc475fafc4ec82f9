#include <gtest/gtest.h>

#include "review/SavedForDeletion.h"
#include "shell/Settings.h"
#include "support/FakeRegistry.h"

namespace quillon::review {
namespace {

// "·" in the tables below stands for the list separator.
std::string lists(std::string text) {
    for (auto pos = text.find("\xC2\xB7"); pos != std::string::npos; pos = text.find("\xC2\xB7", pos))
        text.replace(pos, 2, 1, settings::ListSeparator);
    return text;
}

std::optional<std::string> saved(const fakes::FakeRegistry& registry) {
    return registry.stringValue(Hive::CurrentUser, settings::GeneralKey, settings::general::SavedForDeletion);
}

TEST(ReviewRemovalListSaved, RemovingTakesOutOneWholeEntryOnly) {
    struct Row { const char* before; const char* path; const char* after; };
    const Row rows[] = {
        {R"(C:\L\a.qdf·C:\L\b.qdf·)", R"(C:\L\b.qdf)", R"(C:\L\a.qdf·)"},
        {R"(C:\L\a.qdf·C:\L\b.qdf·)", R"(C:\L\a.qdf)", R"(C:\L\b.qdf·)"},
        {R"(C:\L\a.qdf.bak·C:\L\a.qdf·)", R"(C:\L\a.qdf)", R"(C:\L\a.qdf.bak·)"},   // a prefix of an earlier entry
        {R"(D:\C:\L\a.qdf·C:\L\a.qdf·)", R"(C:\L\a.qdf)", R"(D:\C:\L\a.qdf·)"},    // a suffix of an earlier entry
        {R"(c:\l\A.QDF·)", R"(C:\L\a.qdf)", ""},                                   // case does not matter
        {R"(C:\L\a.qdf·C:\L\x.qdf·C:\L\a.qdf·)", R"(C:\L\a.qdf)", R"(C:\L\x.qdf·C:\L\a.qdf·)"},  // one at a time
        {R"(·C:\L\a.qdf·)", R"(C:\L\a.qdf)", "·"},                                 // empty entries stay
    };
    for (const auto& r : rows) {
        fakes::FakeRegistry registry;
        registry.setString(Hive::CurrentUser, settings::GeneralKey, settings::general::SavedForDeletion, lists(r.before));
        removeSavedForDeletion(registry, r.path);
        EXPECT_EQ(saved(registry), lists(r.after)) << r.before << " minus " << r.path;
    }
}

TEST(ReviewRemovalListSaved, APathThatIsNoWholeEntryWritesNothing) {
    const char* befores[] = {R"(C:\L\a.qdf.bak·)", R"(X:\C:\L\a.qdf·)", R"(C:\L\a.qdf)" /* unterminated */, ""};
    for (const char* before : befores) {
        fakes::FakeRegistry registry;
        registry.setString(Hive::CurrentUser, settings::GeneralKey, settings::general::SavedForDeletion, lists(before));
        removeSavedForDeletion(registry, R"(C:\L\a.qdf)");
        EXPECT_EQ(saved(registry), lists(before)) << before;
        EXPECT_TRUE(registry.writeLog().empty()) << before;
    }
    fakes::FakeRegistry empty;
    removeSavedForDeletion(empty, R"(C:\L\a.qdf)");
    EXPECT_FALSE(empty.keyExists(Hive::CurrentUser, settings::GeneralKey));
}

TEST(ReviewRemovalListSaved, AddingAppendsEvenWhenPresent) {
    fakes::FakeRegistry registry;
    addSavedForDeletion(registry, R"(C:\L\a.qdf)");
    EXPECT_EQ(saved(registry), lists(R"(C:\L\a.qdf·)"));
    addSavedForDeletion(registry, R"(C:\L\b.qdf)");
    addSavedForDeletion(registry, R"(C:\L\a.qdf)");
    EXPECT_EQ(saved(registry), lists(R"(C:\L\a.qdf·C:\L\b.qdf·C:\L\a.qdf·)"));
}

}  // namespace
}  // namespace quillon::review
