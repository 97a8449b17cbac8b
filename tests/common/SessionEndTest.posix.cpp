#include "common/SessionEnd.h"

#include <gtest/gtest.h>
#include <poll.h>

#include <csignal>

namespace {

bool readable(int fd) {
    pollfd ready{fd, POLLIN, 0};
    return ::poll(&ready, 1, 0) == 1;
}

}  // namespace

// Each signal of the session's end wakes the watcher, again after each drain, instead of ending
// the program; the handler that was there before comes back afterwards.
TEST(SessionEndTest, TheSessionsSignalsWakeTheWatcherThenThePreviousHandlersComeBack) {
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
        struct sigaction ignoring {};
        ignoring.sa_handler = SIG_IGN;
        struct sigaction before {};
        ASSERT_EQ(::sigaction(signal, &ignoring, &before), 0);
        {
            SessionEnd sessionEnd;
            ASSERT_GE(sessionEnd.descriptor(), 0);
            EXPECT_FALSE(readable(sessionEnd.descriptor()));
            for (int arrival = 0; arrival < 2; ++arrival) {
                std::raise(signal);  // handled before raise returns
                EXPECT_TRUE(readable(sessionEnd.descriptor())) << signal;
                EXPECT_TRUE(sessionEnd.drain());
                EXPECT_FALSE(readable(sessionEnd.descriptor()));
                EXPECT_FALSE(sessionEnd.drain());
            }
        }
        struct sigaction after {};
        ::sigaction(signal, &before, &after);
        EXPECT_EQ(after.sa_handler, SIG_IGN) << signal;
    }
}
