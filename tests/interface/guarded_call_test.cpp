// No C++ exception may leave an export: whatever is thrown below it, the
// host gets the failure answer.
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "interface/guarded_call.h"

using quorle::GuardedCall;

TEST(GuardedCall, ThrownExceptionsBecomeTheFailureAnswer) {
    EXPECT_EQ(GuardedCall([]() -> int { throw std::bad_alloc(); }), 1);
    EXPECT_EQ(GuardedCall([]() -> int { throw std::length_error("cap"); }), 1);
    EXPECT_EQ(GuardedCall([]() -> int { throw 42; }), 1);
    // Work that returns keeps its own answer, 0 and 2 included.
    EXPECT_EQ(GuardedCall([] { return 0; }), 0);
    EXPECT_EQ(GuardedCall([] { return 2; }), 2);
    int touched = 0;
    EXPECT_EQ(GuardedCall([&touched] {
                  ++touched;
                  return 0;
              }),
              0);
    EXPECT_EQ(touched, 1);
}
