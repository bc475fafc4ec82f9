#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "support/ScriptedPrompter.h"

namespace quillon::fakes {
namespace {

TEST(ScriptedPrompter, AnswersInOrderAndKeepsEveryQuestion) {
    ScriptedPrompter p;
    p.answer(MsgAnswer::Yes);
    p.answer(MsgAnswer::No);
    p.answerFolder("D:\\Backup");
    p.answerOpenFile("C:\\a.qdf");
    p.answerSaveFile(std::nullopt);
    p.answerInput("typed");

    EXPECT_EQ(p.message({"First?", "Quillon", MsgIcon::Question, MsgButtons::YesNo, 2}), MsgAnswer::Yes);
    EXPECT_EQ(p.message({"Second?", "Quillon", MsgIcon::Question, MsgButtons::YesNo, 1}), MsgAnswer::No);
    EXPECT_EQ(p.browseForFolder("Pick"), "D:\\Backup");
    EXPECT_EQ(p.openFile({"Open list", "", "", "", ""}), std::optional<std::string>("C:\\a.qdf"));
    EXPECT_EQ(p.saveFile({"Save list", "", "", "", ""}), std::nullopt);
    EXPECT_EQ(p.inputBox("Name?", "Quillon", "default"), std::optional<std::string>("typed"));

    ASSERT_EQ(p.messages().size(), 2u);
    EXPECT_EQ(p.messages()[0].text, "First?");
    EXPECT_EQ(p.messages()[0].defaultButton, 2);
    EXPECT_EQ(p.messages()[1].text, "Second?");
    EXPECT_EQ(p.folderTitles(), std::vector<std::string>{"Pick"});
    ASSERT_EQ(p.fileRequests().size(), 2u);
    EXPECT_EQ(p.fileRequests()[0].title, "Open list");
    EXPECT_EQ(p.fileRequests()[1].title, "Save list");
    EXPECT_EQ(p.inputPrompts(), std::vector<std::string>{"Name?"});
    EXPECT_EQ(p.inputRequests()[0].defaultText, "default");
}

TEST(ScriptedPrompter, AnUnexpectedQuestionFailsAndIsCancelled) {
    ScriptedPrompter p;
    MsgAnswer answer = MsgAnswer::Ok;
    EXPECT_NONFATAL_FAILURE(answer = p.message({"Delete everything?", "", MsgIcon::None, MsgButtons::Ok, 1}), "Delete everything?");
    EXPECT_EQ(answer, MsgAnswer::Cancel);
    std::string folder = "x";
    EXPECT_NONFATAL_FAILURE(folder = p.browseForFolder("Where?"), "Where?");
    EXPECT_EQ(folder, "");
    std::optional<std::string> text = "x";
    EXPECT_NONFATAL_FAILURE(text = p.inputBox("Name?", "", ""), "Name?");
    EXPECT_EQ(text, std::nullopt);
    EXPECT_EQ(p.messages().size(), 1u) << "an unexpected question is still recorded";
}

TEST(ScriptedPrompter, AnAnswerNeverAskedForFails) {
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedPrompter p;
            p.answer(MsgAnswer::Yes);
        },
        "never asked for");
}

}  // namespace
}  // namespace quillon::fakes
