#pragma once
// What the fuzz targets share: the fake machine, a user who answers yes to everything, and
// the input cut into the files a target reads.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "review/InUsePrompt.h"
#include "support/FakeMachine.h"

namespace quillon::fuzz {

// The input cut at its first `count - 1` NUL bytes; parts missing at the end are empty.
inline std::vector<std::string> parts(const std::uint8_t* data, std::size_t size, std::size_t count) {
    std::vector<std::string> out(count);
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    for (std::size_t i = 0; i < count && !rest.empty(); ++i) {
        const std::size_t cut = i + 1 < count ? rest.find('\0') : std::string_view::npos;
        out[i] = rest.substr(0, cut);
        rest = cut == std::string_view::npos ? std::string_view{} : rest.substr(cut + 1);
    }
    return out;
}

struct YesPrompter final : Prompter {
    std::string chosen;  // what the open-file dialog picks
    MsgAnswer message(const MessageRequest&) override { return MsgAnswer::Yes; }
    std::string browseForFolder(std::string_view) override { return {}; }
    std::optional<std::string> openFile(const FileDialogRequest&) override { return chosen; }
    std::optional<std::string> saveFile(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<std::string> inputBox(std::string_view, std::string_view, std::string_view) override {
        return std::nullopt;
    }
};

struct SkipInUse final : review::InUsePrompt {
    review::InUseAnswer ask(std::string_view) override { return review::InUseAnswer::Skip; }
};

// libFuzzer reports an abort as a finding, with the input that caused it.
inline void require(bool holds, const char* property) {
    if (holds) return;
    std::fprintf(stderr, "property violated: %s\n", property);
    std::abort();
}

}  // namespace quillon::fuzz
