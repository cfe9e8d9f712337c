#include "course/ContinueSignal.h"

#include <gtest/gtest.h>

#include <csignal>
#include <pthread.h>
#include <thread>
#include <unistd.h>

// The clock reads the count on the main thread when the process goes on,
// so no other thread may take SIGCONT (a handler run there could come after
// the main thread has read the clock, and the stopped time would go into
// it): threads started after the object are born with it blocked, and a
// continue sent from any of them is counted on the main thread's next look,
// once each.
TEST(ContinueSignal, OtherThreadsNeverTakeItAndEachIsCountedOnTheMainThread)
{
    const ContinueSignal continueSignal;
    const unsigned int before = ContinueSignal::count();
    bool blockedThere = false;
    std::thread other([&blockedThere] {
        sigset_t mask;
        pthread_sigmask(SIG_BLOCK, nullptr, &mask);
        blockedThere = sigismember(&mask, SIGCONT) == 1;
        kill(getpid(), SIGCONT);
    });
    other.join();
    EXPECT_TRUE(blockedThere) << "a thread started later may take SIGCONT";
    EXPECT_EQ(ContinueSignal::count(), before + 1);
    kill(getpid(), SIGCONT);
    EXPECT_EQ(ContinueSignal::count(), before + 2);
    EXPECT_EQ(ContinueSignal::count(), before + 2) << "counted once";
}
