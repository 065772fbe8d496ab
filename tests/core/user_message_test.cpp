#include <gtest/gtest.h>

#include "core/user_message.h"
#include "resources/message_box.h"
#include "support/message_capture.h"

using namespace quorle;

TEST(UserMessage, FieldsTakeArgumentsInOrderAndOtherPercentsStay) {
    EXPECT_EQ(FormatMessageText("Please enter an integer between %d and %d.", {"1", "99"}),
              "Please enter an integer between 1 and 99.");
    EXPECT_EQ(FormatMessageText("%s: 100% of %d", {"a", "b"}), "a: 100% of b");
    // Fields beyond the arguments, and a trailing '%', are kept as written.
    EXPECT_EQ(FormatMessageText("%s and %s%", {"x"}), "x and %s%");
    EXPECT_EQ(FormatMessageText("C:\\%dir%\\file", {}), "C:\\%dir%\\file");
}

TEST(UserMessage, ShownWithCaptionAndWordsFromStringOrText) {
    MessageCapture capture("user_message");
    ShowUserMessages(
        {ErrorString(1532, {"2", "5"}), WarningText("careful"), WarningString(999999)});
    EXPECT_EQ(capture.Text(), "ERROR\tPlease enter an integer between 2 and 5.\tOK\n"
                              "WARNING\tcareful\tOK\n"
                              "WARNING\t\tOK\n");
}
