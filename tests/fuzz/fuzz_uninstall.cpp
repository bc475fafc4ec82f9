// Uninstall from a handed-over removal list. After each input: whatever went is named by the
// list (itself or a folder or key above it), and nothing protected went.
#include <algorithm>

#include "FuzzBench.h"
#include "platform/TextCompare.h"
#include "review/UninstallFromDataFile.h"
#include "support/PromptedPreview.h"

using namespace quillon;

namespace {

const std::vector<std::string> Files{"C:\\Apps\\NewApp\\app.exe", "C:\\Apps\\NewApp\\Sub\\data.dat",
                                     "C:\\Windows\\System32\\newapp.dll", "C:\\Windows\\System32\\kernel32.dll",
                                     "C:\\Program Files\\Quillon\\Quillon.exe"};
const std::vector<std::string> Folders{"C:\\Apps\\NewApp\\Sub", "C:\\Apps\\NewApp", "C:\\Apps"};
const std::vector<std::string> ProtectedFolders{"C:\\", "C:\\Windows", "C:\\Windows\\System32", "C:\\Program Files"};
const std::vector<std::string> Keys{"Software\\NewApp\\Settings", "Software\\NewApp", "Software\\Microsoft\\Windows"};
constexpr std::string_view WinIni = "C:\\Windows\\win.ini";
const std::vector<std::string> IniLines{"[windows]", "load=newapp.exe", "run=", "[NewApp]", "Path=C:\\Apps\\NewApp"};

// An entry line of the list (without its line end) names `item` or a folder or key above it.
bool named(const std::vector<std::string>& entries, std::string_view item) {
    for (std::string_view entry : entries) {
        while (!entry.empty() && entry.back() == '\\') entry.remove_suffix(1);
        if (entry.empty()) continue;
        if (equalsNoCase(entry, item) || (startsWithNoCase(item, entry) && item[entry.size()] == '\\')) return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fakes::FakeMachine m;
    fuzz::YesPrompter yes;
    fuzz::SkipInUse inUse;
    for (const std::string& file : Files) m.files.addFile(file, "x");
    std::string ini;
    for (const std::string& line : IniLines) ini += line + "\r\n";
    m.files.addFile(WinIni, ini);
    for (Hive hive : {Hive::CurrentUser, Hive::LocalMachine})
        for (const std::string& key : Keys) m.registry.createKey(hive, key);
    const std::string list(reinterpret_cast<const char*>(data), size);
    m.files.addFolder("C:\\L");
    m.files.addFile("C:\\L\\NewApp.qdf", list);

    shell::RemovalPorts ports{m.registry, m.files, m.shell, m.desktop, yes, m.run, m.clock, fakes::FakeMachine::ProgramFolder};
    review::RemovalContext context{ports, inUse, {"C:\\Windows\\", "C:\\", "C:\\"}};
    fakes::PromptedPreview preview(yes);
    review::uninstallFromDataFile(context, preview, "C:\\L\\NewApp.qdf", false);

    std::vector<std::string> entries;  // the list's lines, ended by CR, LF or both as the reader ends them
    for (std::size_t start = 0; start <= list.size();) {
        const std::size_t end = std::min(list.find_first_of("\r\n", start), list.size());
        entries.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    for (const auto& group : {Files, Folders})
        for (const std::string& item : group)
            if (!m.files.exists(item))
                fuzz::require(named(entries, item), "a file or folder went that the list does not name");
    for (const std::string& folder : ProtectedFolders) fuzz::require(m.files.exists(folder), "a protected folder went");
    for (Hive hive : {Hive::CurrentUser, Hive::LocalMachine}) {
        const std::string prefix = hive == Hive::CurrentUser ? "HKEY_CURRENT_USER\\" : "HKEY_LOCAL_MACHINE\\";
        fuzz::require(m.registry.keyExists(hive, "Software"), "a key directly below a hive root went");
        for (const std::string& key : Keys)
            if (!m.registry.keyExists(hive, key))
                fuzz::require(named(entries, prefix + key), "a key went that the list does not name");
    }
    const std::string after = m.files.content(WinIni).value_or("");
    for (const std::string& line : IniLines)
        if (after.find(line + "\r\n") == std::string::npos)
            fuzz::require(list.find(line) != std::string::npos, "a line went that the list does not name");
    return 0;
}
