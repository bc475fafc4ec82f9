#pragma once
// The in-use prompt of the removal tests.
#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "review/InUsePrompt.h"

namespace quillon::review {

// Answers the DLL question from a script and records every path asked about; an unscripted
// question fails the test.
class ScriptedInUse final : public InUsePrompt {
public:
    void answer(InUseAnswer a) { answers_.push_back(a); }
    const std::vector<std::string>& asked() const { return asked_; }
    InUseAnswer ask(std::string_view path) override {
        asked_.emplace_back(path);
        if (answers_.empty()) {
            ADD_FAILURE() << "unexpected DLL question for " << path;
            return InUseAnswer::Skip;
        }
        const InUseAnswer a = answers_.front();
        answers_.pop_front();
        return a;
    }
    ~ScriptedInUse() override { EXPECT_TRUE(answers_.empty()) << "DLL answers left unused"; }

private:
    std::deque<InUseAnswer> answers_;
    std::vector<std::string> asked_;
};

}  // namespace quillon::review
