// The queue-answered prompts: answers in order, dismissal rules, defaults.
#include <gtest/gtest.h>

#include "platform/user_prompts.h"

namespace tarn::platform {
namespace {

struct DismissCase {
  MessageButtons buttons;
  MessageAnswer dismissed;
};

class DismissRule : public ::testing::TestWithParam<DismissCase> {};

// An empty queue and an answer the box does not offer both dismiss it.
TEST_P(DismissRule, EmptyQueueAndUnofferedAnswerDismiss) {
  QueuedPrompts prompts;
  EXPECT_EQ(prompts.Ask({"Question?", "Caption", GetParam().buttons}), GetParam().dismissed);
  prompts.QueueAnswer(GetParam().buttons == MessageButtons::kOk ? MessageAnswer::kYes
                                                                 : MessageAnswer::kOk);
  const MessageAnswer answer = prompts.Ask({"Again?", "Caption", GetParam().buttons});
  EXPECT_TRUE(IsOffered(GetParam().buttons, answer));
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, DismissRule,
    ::testing::Values(DismissCase{MessageButtons::kOk, MessageAnswer::kOk},
                      DismissCase{MessageButtons::kOkCancel, MessageAnswer::kCancel},
                      DismissCase{MessageButtons::kYesNo, MessageAnswer::kNo},
                      DismissCase{MessageButtons::kYesNoCancel, MessageAnswer::kCancel}));

TEST(QueuedPrompts, AnswersInOrderAndRemembersQuestions) {
  QueuedPrompts prompts;
  prompts.QueueAnswer(MessageAnswer::kYes);
  prompts.QueueAnswer(MessageAnswer::kNo);
  EXPECT_EQ(prompts.Ask({"First?", "C", MessageButtons::kYesNoCancel}), MessageAnswer::kYes);
  EXPECT_EQ(prompts.Ask({"Second?", "C", MessageButtons::kYesNo}), MessageAnswer::kNo);
  ASSERT_EQ(prompts.AskedMessages().size(), 2u);
  EXPECT_EQ(prompts.AskedMessages()[1].text, "Second?");
  EXPECT_EQ(prompts.UnusedAnswers(), 0u);
}

TEST(QueuedPrompts, PathsTakeTheDefaultOnEmptyAndCancelOnNothing) {
  QueuedPrompts prompts;
  prompts.QueuePath("");
  prompts.QueuePath("/tmp/chosen.txt");
  prompts.QueuePath(std::nullopt);
  const PathRequest request{"Export", "/home/u/drawing.txt", "txt", true, false};
  EXPECT_EQ(prompts.AskPath(request), "/home/u/drawing.txt");
  EXPECT_EQ(prompts.AskPath(request), "/tmp/chosen.txt");
  EXPECT_EQ(prompts.AskPath(request), std::nullopt);
  EXPECT_EQ(prompts.AskPath(request), std::nullopt);   // queue empty: cancelled
  EXPECT_EQ(prompts.AskedPaths().size(), 4u);
}

}  // namespace
}  // namespace tarn::platform
