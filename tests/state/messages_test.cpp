#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "state/fdx.h"
#include "state/job_str.h"

namespace {

using ::testing::IsEmpty;

// Stands in for the user interface's message box: records every box and gives a set answer.
class Messages : public ::testing::Test {
  protected:
    Messages() {
        fdx.MessageBox = [this](const FDX& owner, const MessageRequest& request) {
            EXPECT_EQ(&owner, &fdx);
            shown.push_back(request);
            return answer;
        };
    }

    void RunJob() {
        fdx.JobRunning = 1;
        fdx.JobLine = &line;
    }

    FDX fdx;
    JobStr line;
    std::vector<MessageRequest> shown;
    bool answer = true;
};

TEST_F(Messages, ErrorShowsStopBoxWithOk) {
    fdx.ShowError(12);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Не задано ни одной частоты в банке для записи");
    EXPECT_EQ(shown[0].caption, "ВНИМАНИЕ !");
    EXPECT_EQ(shown[0].icon, MessageIcon::Stop);
    EXPECT_FALSE(shown[0].yesNo);
}

TEST_F(Messages, NumberOutsideTheTableShowsSystemError) {
    for (int number : {0, 37, 40, 55, -1}) fdx.ShowError(number);
    ASSERT_EQ(shown.size(), 5u);
    for (const MessageRequest& request : shown) EXPECT_EQ(request.text, "Ошибка в системе");
}

TEST_F(Messages, OutOfMemoryMessageNamesTheStartStage) {
    fdx.StartStage = 17;
    fdx.ShowError(53);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Не хватает памяти для работы.Ошибка №17.");
}

TEST_F(Messages, ErrorInJobGoesIntoTheJobLine) {
    RunJob();
    fdx.ShowError(12);
    EXPECT_THAT(shown, IsEmpty());
    EXPECT_EQ(line.Message, "Не задано ни одной частоты в банке для записи");
    EXPECT_EQ(line.ReturnCode, 1);
}

TEST_F(Messages, QuestionShowsExclamationBoxWithYesNo) {
    EXPECT_TRUE(fdx.Confirm("Удалить банк?"));
    answer = false;
    EXPECT_FALSE(fdx.Confirm("Удалить банк?"));
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, "Удалить банк?");
    EXPECT_EQ(shown[0].caption, "ВНИМАНИЕ!");
    EXPECT_EQ(shown[0].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(shown[0].yesNo);
}

TEST_F(Messages, QuestionInJobIsAnsweredYesInTheJobLine) {
    RunJob();
    line.ReturnCode = 1;
    answer = false;
    EXPECT_TRUE(fdx.Confirm("Удалить банк?"));
    EXPECT_THAT(shown, IsEmpty());
    EXPECT_EQ(line.Message, "Удалить банк?-ДА");
    EXPECT_EQ(line.ReturnCode, 0);
}

TEST_F(Messages, JobWithoutLineShowsNothingAndAnswersYes) {
    fdx.JobRunning = 1;
    fdx.ShowError(12);
    EXPECT_TRUE(fdx.Confirm("Удалить банк?"));
    EXPECT_THAT(shown, IsEmpty());
}

TEST(MessagesWithoutUserInterface, ShowNothingAndAnswerNo) {
    FDX fdx;
    fdx.ShowError(12);
    EXPECT_FALSE(fdx.Confirm("Удалить банк?"));
}

}  // namespace
