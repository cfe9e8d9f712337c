#include "course/StopSignals.h"
#include "platform/windows/course/ConsoleEvents.h"

#include <gtest/gtest.h>

#include <windows.h>

// Each console event that asks the program to stop ends the run with the
// status its Linux signal gives; the others are left to the next handler.
// (Ctrl-C itself is sent through Wine by the Windows tier's window test:
// Wine raises no Ctrl-Break or close event from outside.)
TEST(StopSignals, EachConsoleEventEndsWithItsLinuxSignalsStatus)
{
    const struct {
        DWORD event;
        int status;
    } rows[] = {
        { CTRL_C_EVENT, 130 },
        { CTRL_BREAK_EVENT, 131 },
        { CTRL_CLOSE_EVENT, 129 },
        { CTRL_LOGOFF_EVENT, 129 },
        { CTRL_SHUTDOWN_EVENT, 129 },
    };
    for (const auto& row : rows)
        EXPECT_EQ(StopSignals::exitStatus(signalForConsoleEvent(row.event)), row.status) << "event " << row.event;
    EXPECT_EQ(signalForConsoleEvent(42), 0) << "not a request to stop";
}
