#include "review/ConvertRemovalList.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "detection/RegistryFileNames.h"
#include "detection/ScanFiles.h"
#include "platform/TextCompare.h"
#include "review/ChangesFileNames.h"
#include "review/RemovalListFormat.h"
#include "review/ValueRows.h"
#include "shell/Folders.h"

namespace quillon::review {
namespace {

namespace fmt = removal_list;

// One changes file being written; the first failure sticks.
class Output {
public:
    Output(FileSystem& files, const std::string& path) : path_(path) {
        status_ = files.openWrite(path, WriteMode::Create, out_);
    }
    void line(std::string_view text) {
        if (succeeded(status_)) status_ = out_->writeLine(text);
    }
    // False, with the first fault noted, when the file was not written completely.
    bool close(std::optional<FileFault>& fault) {
        if (out_) {
            const Status closed = out_->close();
            if (succeeded(status_)) status_ = closed;
        }
        if (succeeded(status_)) return true;
        if (!fault) fault = FileFault{FileFault::Action::Write, path_, status_};
        return false;
    }

private:
    std::string path_;
    std::unique_ptr<TextWriter> out_;
    Status status_ = Status::Ok;
};

class ListReader {
public:
    ListReader(FileSystem& files, std::string_view path) : path_(path) {
        opened_ = files.openRead(path, in_);
        if (!succeeded(opened_)) in_.reset();
    }
    bool next(std::string& line) { return in_ && in_->readLine(line); }
    // The entries of a section up to its "}" or the end of the list, each handed to `take`.
    template <typename Take>
    void entries(RunContext& run, Take take) {
        std::string line;
        while (next(line) && line != fmt::SectionEnd) {
            take(line);
            run.yield();
        }
    }
    // Why the list could not be read in full, if it could not.
    std::optional<FileFault> fault() const {
        const Status s = in_ ? in_->status() : opened_;
        if (succeeded(s)) return std::nullopt;
        return FileFault{FileFault::Action::Read, path_, s};
    }

private:
    std::string path_;
    Status opened_ = Status::Ok;
    std::unique_ptr<TextReader> in_;
};

void convertFiles(FileSystem& files, RunContext& run, ListReader& list, Output& changes) {
    std::string header;
    if (!list.next(header)) return;
    list.entries(run, [&](const std::string& entry) {
        if (entry.empty()) return;
        if (shell::folderExists(files, entry)) {
            changes.line("!" + shell::withBackslash(entry) + "{");
            changes.line(fmt::SectionEnd);
            return;
        }
        const auto slash = entry.rfind('\\');
        const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
        changes.line(entry.substr(0, nameStart) + "{");
        changes.line(std::string_view(entry).substr(nameStart));
        changes.line(fmt::SectionEnd);
    });
}

void convertKeys(RunContext& run, ListReader& list, Output& hkcu, Output& hklm, std::vector<std::string>& passedOver) {
    std::string header;
    if (!list.next(header)) return;
    list.entries(run, [&](const std::string& entry) {
        // Only the two hives a list can name: anything else would land under the wrong root.
        Output* target = nullptr;
        std::string_view key = entry;
        if (startsWithNoCase(entry, fmt::CurrentUserPrefix)) {
            target = &hkcu;
            key.remove_prefix(fmt::CurrentUserPrefix.size());
        } else if (startsWithNoCase(entry, fmt::LocalMachinePrefix)) {
            target = &hklm;
            key.remove_prefix(fmt::LocalMachinePrefix.size());
        }
        if (target && !key.empty()) {
            target->line(key);
        } else if (!entry.empty()) {
            passedOver.push_back(entry);
        }
    });
}

void convertLines(RunContext& run, ListReader& list, Output& config,
                  std::array<std::vector<std::string>, ConfigListCount>& passedOver) {
    for (std::size_t section = 0; section < ConfigListCount; ++section) {
        std::string header;
        if (!list.next(header)) return;
        config.line(header);
        std::string added;
        std::string replaced;
        list.entries(run, [&](std::string_view entry) {
            const auto first = entry.find(fmt::Separator);
            if (first == std::string_view::npos) {
                if (!entry.empty()) passedOver[section].emplace_back(entry);
                return;
            }
            // The replaced part is cut at its own separator too, so one odd entry cannot shift
            // every later pair out of step.
            const std::string_view rest = entry.substr(first + 1);
            added.append(entry.substr(0, first + 1));
            replaced.append(rest.substr(0, rest.find(fmt::Separator))) += fmt::Separator;
        });
        config.line(added);
        config.line(replaced);
        config.line(fmt::SectionEnd);
    }
}

// The values section, when the list has one, into the value changes files the load reads.
void convertValues(RunContext& run, ListReader& list, Output& hkcu, Output& hklm, std::vector<std::string>& passedOver) {
    std::string header;
    if (!list.next(header) || header != fmt::ValuesHeader) return;
    list.entries(run, [&](const std::string& entry) {
        ValueRow row;
        const bool user = startsWithNoCase(entry, fmt::CurrentUserPrefix);
        if (!parseValueEntry(entry, row) || (!user && !startsWithNoCase(entry, fmt::LocalMachinePrefix))) {
            if (!entry.empty()) passedOver.push_back(entry);
            return;
        }
        const std::size_t prefix = (user ? fmt::CurrentUserPrefix : fmt::LocalMachinePrefix).size();
        // parseValueEntry took only a known change word.
        const detection::ValueChange change = *detection::valueChangeNamed(row.change);
        (user ? hkcu : hklm)
            .line(detection::formatValueChange({change, row.key.substr(prefix), row.name, row.newData, row.oldData}));
    });
}

}  // namespace

bool convertRemovalList(FileSystem& files, RunContext& run, std::string_view listPath, std::string_view workFolder,
                        ConversionReport* report) {
    ConversionReport own;
    ConversionReport& r = report ? *report : own;
    r = {};
    ListReader list(files, listPath);
    const std::string folder(workFolder);
    Output changes(files, detection::changesPath(folder));
    Output hkcu(files, folder + std::string(detection::registry_files::HkcuChanges));
    Output hklm(files, folder + std::string(detection::registry_files::HklmChanges));
    Output config(files, folder + std::string(changes_files::SysChanges));
    Output hkcuValues(files, folder + std::string(detection::registry_files::HkcuValueChanges));
    Output hklmValues(files, folder + std::string(detection::registry_files::HklmValueChanges));

    convertFiles(files, run, list, changes);
    convertKeys(run, list, hkcu, hklm, r.passedOver.keys);
    convertLines(run, list, config, r.passedOver.lines);
    convertValues(run, list, hkcuValues, hklmValues, r.passedOver.values);

    r.fault = list.fault();
    const bool changesOk = changes.close(r.fault);
    const bool hkcuOk = hkcu.close(r.fault);
    const bool hklmOk = hklm.close(r.fault);
    const bool configOk = config.close(r.fault);
    const bool valuesOk = hkcuValues.close(r.fault) && hklmValues.close(r.fault);
    return changesOk && hkcuOk && hklmOk && configOk && valuesOk;
}

}  // namespace quillon::review
