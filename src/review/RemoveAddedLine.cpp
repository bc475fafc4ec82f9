#include "review/RemoveAddedLine.h"

#include <memory>

#include "review/RemovalListFormat.h"
#include "snapshot/ConfigFiles.h"

namespace quillon::review {
namespace {

Status copyReplacing(TextReader& reader, TextWriter& writer, std::string_view added, std::string_view replaced) {
    std::string line;
    while (reader.readLine(line)) {
        Status s = Status::Ok;
        if (line != added) {
            s = writer.writeLine(line);
        } else if (replaced != " ") {
            s = writer.writeLine(replaced);
        }
        if (!succeeded(s)) return s;
    }
    return reader.status();
}

}  // namespace

std::string configFilePath(ConfigList list, const RemovalFolders& folders) {
    const std::string_view header = removal_list::LineHeaders[static_cast<std::size_t>(list)];
    for (const auto& file : snapshot::ConfigFiles)
        if (file.header == header) return snapshot::configFilePath(file, folders.windows, folders.windowsRoot);
    return {};
}

Status removeAddedLine(FileSystem& files, std::string_view workFolder, std::string_view configFile,
                       std::string_view added, std::string_view replaced) {
    std::unique_ptr<TextReader> reader;
    if (const Status s = files.openRead(configFile, reader); !succeeded(s)) return s;

    const std::string temp = std::string(workFolder) + std::string(RewriteFileName);
    static_cast<void>(files.setAttributes(temp, FileAttr::Normal));  // a leftover may be hidden, which refuses creation
    std::unique_ptr<TextWriter> writer;
    Status s = files.openWrite(temp, WriteMode::Create, writer);
    if (succeeded(s)) {
        s = copyReplacing(*reader, *writer, added, replaced);
        const Status closed = writer->close();
        if (succeeded(s)) s = closed;
    }
    reader.reset();
    if (!succeeded(s)) {
        removeLeftover(files, temp);
        return s;
    }

    return replaceWithWorkCopy(files, temp, configFile);
}

}  // namespace quillon::review
