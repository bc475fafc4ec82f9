// The viewer's load of the four changes files, cut from one input at its NUL bytes.
#include "FuzzBench.h"
#include "review/LoadChanges.h"

using namespace quillon;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fakes::FakeMachine m;
    const auto texts = fuzz::parts(data, size, 4);
    const char* names[] = {"C:\\changes.qdb", "C:\\sysChanges.qdb", "C:\\hkcuchanges.qdb", "C:\\hklmchanges.qdb"};
    for (std::size_t i = 0; i < texts.size(); ++i) m.files.addFile(names[i], texts[i]);
    m.files.addFile("C:\\Apps\\NewApp\\app.exe", "x");
    m.registry.createKey(Hive::CurrentUser, "Software\\NewApp");
    review::LoadPorts load{m.files, m.registry, m.shell, m.run};
    review::loadChanges(load, "C:\\");
    return 0;
}
