#pragma once
// The question asked before a DLL that other programs may share is deleted.
#include <cstdint>
#include <string>
#include <string_view>

namespace quillon::review {

enum class InUseAnswer { Delete, DeleteAll, Skip };

class InUsePrompt {
public:
    virtual ~InUsePrompt() = default;
    // Modal; any way of closing the question other than its three buttons answers Skip.
    virtual InUseAnswer ask(std::string_view path) = 0;
};

inline constexpr std::string_view InUseCaption = "DLL file in use";

inline std::string inUseMessage(std::string_view path) {
    return "The DLL file " + std::string(path) + " may be in use by other applications. Delete it?";
}

// The codes the prompt window ends with. Anything else (the close box, Escape, a failed
// dialog) is a Skip: a file is deleted only when the user clearly said so.
namespace InUseEndCode {
inline constexpr std::intptr_t Delete = 100;
inline constexpr std::intptr_t DeleteAll = 101;
inline constexpr std::intptr_t Skip = 102;
}  // namespace InUseEndCode

inline InUseAnswer inUseAnswerFor(std::intptr_t endCode) {
    if (endCode == InUseEndCode::Delete) return InUseAnswer::Delete;
    if (endCode == InUseEndCode::DeleteAll) return InUseAnswer::DeleteAll;
    return InUseAnswer::Skip;
}

}  // namespace quillon::review
