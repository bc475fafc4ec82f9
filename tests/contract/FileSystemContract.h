#pragma once
// What the FileSystem contract suite needs from each file system it runs against, beyond the
// port itself: a scratch folder of its own, a way to hold a file open as another program
// would, and the few answers that differ between the places it runs.
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "platform/DateTime.h"
#include "platform/FileSystem.h"

namespace quillon::contract {

// Keeps a file open with no sharing, as another program would, until destroyed.
class HeldFile {
public:
    virtual ~HeldFile() = default;
};

class FileSystemWorld {
public:
    virtual ~FileSystemWorld() = default;
    virtual FileSystem& fs() = 0;
    // An empty folder for this test alone, ending in "\".
    virtual const std::string& scratch() const = 0;
    virtual std::unique_ptr<HeldFile> holdOpenElsewhere(const std::string& path) = 0;
    // The local time that files written now are dated with.
    virtual DateTime now() = 0;
    // The root of a drive letter that names no drive.
    virtual std::string missingDriveRoot() = 0;
    // Windows refuses to overwrite hidden, system and read-only files; Wine (run as root here)
    // does not, so those checks cannot run there.
    virtual bool refusesOverwritingProtectedFiles() const = 0;
};

struct FileSystemWorldMaker {
    const char* name;
    std::unique_ptr<FileSystemWorld> (*make)();
};

// Names the world in test output.
inline void PrintTo(const FileSystemWorldMaker& maker, std::ostream* os) { *os << maker.name; }

}  // namespace quillon::contract
