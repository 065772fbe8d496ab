#include <gtest/gtest.h>

#include "platform/message_log.h"
#include "platform/platform.h"
#include "support/temp_dir.h"

using namespace quorle::platform;
using quorle::testing_support::TempDir;

namespace {

// Sets QUORLE_MESSAGES and QUORLE_ANSWERS for one test and restores them.
class MessageEnvironment {
  public:
    MessageEnvironment(const std::string& messages, const std::string& answers)
        : savedMessages_(GetEnv("QUORLE_MESSAGES")), savedAnswers_(GetEnv("QUORLE_ANSWERS")) {
        Set("QUORLE_MESSAGES", messages);
        Set("QUORLE_ANSWERS", answers);
    }
    ~MessageEnvironment() {
        Restore("QUORLE_MESSAGES", savedMessages_);
        Restore("QUORLE_ANSWERS", savedAnswers_);
    }

  private:
    static void Set(const std::string& name, const std::string& value) {
        if (value.empty()) {
            UnsetEnv(name);
        } else {
            SetEnv(name, value);
        }
    }
    static void Restore(const std::string& name, const std::optional<std::string>& value) {
        Set(name, value.value_or(""));
    }
    std::optional<std::string> savedMessages_, savedAnswers_;
};

} // namespace

TEST(Messages, BoxesAreLoggedWithEscapesAndQueuedAnswers) {
    TempDir dir;
    std::string log = dir.File("messages.txt");
    MessageEnvironment env(log, "no, CANCEL,yes,bogus");
    EXPECT_TRUE(MessagesRedirected());
    EXPECT_EQ(ShowMessage("ERROR", "a\\b\nc\td", MessageButtons::YesNo), MessageAnswer::No);
    EXPECT_EQ(ShowMessage("WARNING", "w", MessageButtons::YesNoCancel), MessageAnswer::Cancel);
    // A queued word the box does not offer takes its first button.
    EXPECT_EQ(ShowMessage("Message", "m", MessageButtons::OkCancel), MessageAnswer::Ok);
    EXPECT_EQ(ShowMessage("Message", "m", MessageButtons::OkCancel), MessageAnswer::Ok);
    // The queue is used up: the first button.
    EXPECT_EQ(ShowMessage("Q", "", MessageButtons::YesNo), MessageAnswer::Yes);
    EXPECT_EQ(ReadFile(log, false), "ERROR\ta\\\\b\\nc\\td\tNO\n"
                                    "WARNING\tw\tCANCEL\n"
                                    "Message\tm\tOK\n"
                                    "Message\tm\tOK\n"
                                    "Q\t\tYES\n");
}

TEST(Messages, QueueRestartsWhenTheVariableChanges) {
    TempDir dir;
    std::string log = dir.File("m.txt");
    MessageEnvironment env(log, "NO,NO");
    EXPECT_EQ(ShowMessage("c", "t", MessageButtons::YesNo), MessageAnswer::No);
    SetEnv("QUORLE_ANSWERS", "NO,YES");
    EXPECT_EQ(ShowMessage("c", "t", MessageButtons::YesNo), MessageAnswer::No);
    EXPECT_EQ(ShowMessage("c", "t", MessageButtons::YesNo), MessageAnswer::Yes);
    EXPECT_EQ(ShowMessage("c", "t", MessageButtons::YesNo), MessageAnswer::Yes);
    SetEnv("QUORLE_ANSWERS", "NO,NO");
    EXPECT_EQ(ShowMessage("c", "t", MessageButtons::YesNo), MessageAnswer::No);
}

TEST(Messages, AskQueuedTakesFreeWordsAndShellOpenIsLogged) {
    TempDir dir;
    std::string log = dir.File("m.txt");
    MessageEnvironment env(log, "FEEDBACK+NOASK");
    EXPECT_EQ(AskQueued("Feedback", "Tell us?", "NOTHANKS"), "FEEDBACK+NOASK");
    EXPECT_EQ(AskQueued("Feedback", "Tell us?", "NOTHANKS"), "NOTHANKS");
    EXPECT_TRUE(ShellOpen("C:\\dir\\page.url"));
    LogMessageLine("free line");
    EXPECT_EQ(ReadFile(log, false), "Feedback\tTell us?\tFEEDBACK+NOASK\n"
                                    "Feedback\tTell us?\tNOTHANKS\n"
                                    "OPEN\tC:\\dir\\page.url\n"
                                    "free line\n");
}

TEST(Messages, FeedbackDialogIsLoggedAndDeclinesWhenNothingIsQueued) {
    TempDir dir;
    std::string log = dir.File("m.txt");
    MessageEnvironment env(log, "NOTHANKS+NOASK,FEEDBACK");
    EXPECT_EQ(ShowFeedbackDialog("Request for Feedback", "Linked 30 times.\nTell us?"),
              "NOTHANKS+NOASK");
    EXPECT_EQ(ShowFeedbackDialog("Request for Feedback", "t"), "FEEDBACK");
    EXPECT_EQ(ShowFeedbackDialog("Request for Feedback", "t"), "NOTHANKS");
    EXPECT_EQ(ReadFile(log, false),
              "Request for Feedback\tLinked 30 times.\\nTell us?\tNOTHANKS+NOASK\n"
              "Request for Feedback\tt\tFEEDBACK\n"
              "Request for Feedback\tt\tNOTHANKS\n");
}

TEST(Messages, WithoutAFileTheLineGoesToStandardError) {
#if defined(_WIN32)
    GTEST_SKIP() << "Windows shows a real message box";
#endif
    MessageEnvironment env("", "CANCEL");
    EXPECT_FALSE(MessagesRedirected());
    ::testing::internal::CaptureStderr();
    MessageAnswer answer = ShowMessage("ERROR", "line1\nline2", MessageButtons::OkCancel);
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(answer, MessageAnswer::Cancel);
    EXPECT_EQ(err, "ERROR\tline1\\nline2\tCANCEL\n");
}

TEST(Messages, FeedbackDialogWithoutAFileNeverWaits) {
#if defined(_WIN32)
    GTEST_SKIP() << "Windows shows the real dialog";
#endif
    MessageEnvironment env("", "");
    ::testing::internal::CaptureStderr();
    std::string answer =
        ShowFeedbackDialog("Request for Feedback", "You linked 30 times.\n\nTell us\tabout it?");
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(answer, "NOTHANKS");
    // One readable line, not a box record.
    EXPECT_EQ(err, "Request for Feedback: You linked 30 times. Tell us about it? [NOTHANKS]\n");
}

TEST(Messages, FormatAndChoiceHelpers) {
    EXPECT_EQ(FormatMessageLine("c", "\\\\\n", "OK"), "c\t\\\\\\\\\\n\tOK");
    EXPECT_EQ(ChooseAnswer(MessageButtons::Ok, std::string("cancel")), MessageAnswer::Ok);
    EXPECT_EQ(ChooseAnswer(MessageButtons::YesNoCancel, std::string("no")), MessageAnswer::No);
    EXPECT_EQ(ChooseAnswer(MessageButtons::YesNoCancel, std::nullopt), MessageAnswer::Yes);
}

