// Runs in the prefix of installers.sh, one test per call (the script installs and records the prefix
// between them). Find changes must list exactly what the installers changed, as S:\installed.txt says
// ("F <path>", "K <key>" or "V <key>\t<value name>"; a folder or key listed covers all below it). The
// rows of every tab are saved to a removal list that then uninstalls them.
#include <cctype>
#include <set>
#include <sstream>

#include "ProbeKit.h"

namespace {

using namespace quillon::e2e;

const std::string ListPath = "C:\\Lists\\installers.qdf";

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Every list of the viewer, one per tab.
std::vector<HWND> viewerLists(HWND viewer) {
    std::vector<HWND> lists;
    for (int id = IDC_FOUND_LVWFILESADDED; id <= IDC_FOUND_LVWVALUESCHANGED; ++id) lists.push_back(descendant(viewer, id));
    return lists;
}

// The rows standing for changes: not the one saying that a kind of change was not looked for.
Rows changeRows(HWND list) {
    const auto header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    Rows rows = listViewRows(list, static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)));
    std::erase_if(rows, [](const auto& row) { return row[0] == "Scanning not enabled."; });
    return rows;
}

// What each row stands for, as the script spells items, in lower case (neither store minds case); a
// value row for any pair of a cell naming a key and another, its value's name.
std::vector<std::vector<std::string>> listedRows(HWND viewer) {
    std::vector<std::vector<std::string>> rows;
    for (HWND list : viewerLists(viewer)) {
        const int id = GetDlgCtrlID(list);
        for (const auto& row : changeRows(list)) {
            std::vector<std::string>& items = rows.emplace_back();
            if (id == IDC_FOUND_LVWFILESADDED || id == IDC_FOUND_LVWREGADDED) {
                items.push_back((id == IDC_FOUND_LVWFILESADDED ? "f " : "k ") + lower(row[1] + row[0]));
                continue;
            }
            for (const std::string& key : row)
                for (const std::string& name : row)
                    if (&key != &name && key.starts_with("HKEY_"))
                        items.push_back("v " + lower(key) + "\t" + lower(name == "(Default)" ? "" : name));
            if (items.empty()) items.push_back("line " + row[0]);  // a configuration file's: none expected
        }
    }
    return rows;
}

// The item itself listed, or a folder or key above it, or for a value its key or one above.
bool covered(const std::set<std::string>& listed, std::string item) {
    if (item.starts_with("v ") && !listed.contains(item)) item = "k " + item.substr(2, item.find('\t') - 2);
    for (;; item.resize(item.rfind('\\'))) {
        if (listed.contains(item)) return true;
        if (item.rfind('\\') == std::string::npos) return false;
    }
}

TEST(Installers, FirstStart) { ASSERT_TRUE(firstStart()); }

TEST(Installers, UpdateDatabase) { ASSERT_TRUE(updateDatabase()); }

TEST(Installers, FindChangesListsExactlyWhatTheyChangedAndSavesAll) {
    std::set<std::string> installed;
    std::istringstream in(fileText("S:\\installed.txt"));
    for (std::string line; std::getline(in, line);)
        if (line.size() > 2) installed.insert(lower(line.substr(0, 1)) + " " + lower(line.substr(2)));
    ASSERT_GT(installed.size(), 20u) << "the script recorded no installation";

    const RunningProgram finder("\\f");
    HWND viewer = loadedViewer(finder.id());
    ASSERT_NE(viewer, nullptr) << finder.noWindow("the loaded viewer").message();
    std::set<std::string> listed;
    for (const auto& row : listedRows(viewer)) {
        listed.insert(row.begin(), row.end());
        EXPECT_TRUE(std::any_of(row.begin(), row.end(), [&](auto& item) { return installed.contains(item); }))
            << "listed, but the installers did not change it: " << row.front();
    }
    for (const std::string& item : installed) EXPECT_TRUE(covered(listed, item)) << "not listed: " << item;
    // Every row of every tab, whichever tab shows: a row Select All missed stays after the uninstall.
    ASSERT_TRUE(saveAll(finder, viewer, ListPath));
    ASSERT_TRUE(finder.closes(viewer));
}

TEST(Installers, SavedListNamedWithoutQuotesUninstallsThem) {
    const RunningProgram uninstaller(ListPath);
    ASSERT_TRUE(answer(uninstaller, "Confirm Quillon Uninstall", IDYES, "&Yes"));
    ASSERT_TRUE(answer(uninstaller, "Quillon Uninstall complete", IDOK, "OK"));
    ASSERT_TRUE(uninstaller.ends("the completion message"));
    EXPECT_FALSE(exists(ListPath)) << "the uninstalled list stays";
}

TEST(Installers, FindChangesRightAfterAnUpdateListsNothing) {
    ASSERT_TRUE(updateDatabase());
    const RunningProgram finder("\\f");
    HWND viewer = loadedViewer(finder.id());
    ASSERT_NE(viewer, nullptr) << finder.noWindow("the loaded viewer").message();
    for (HWND list : viewerLists(viewer))
        for (const auto& row : changeRows(list)) ADD_FAILURE() << "listed on an idle machine: " << row[1] << " " << row[0];
    ASSERT_TRUE(finder.closes(viewer));
}

}  // namespace
