#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include "qip/Monitors/qipBasicAlarm_X.h"
#include "qip/Monitors/qipFdActivity_X.h"
#include "qip/Monitors/qipFdRead.h"
#include "qip/Monitors/qipPortSensor.h"
#include "qip/Monitors/qipTimeout.h"
#include "qip/Monitors/tests/LoopContext.h"
#include "tests/support/TestSupport.h"

namespace {

struct CountingReader : qipFdRead {
    int fired = 0;
    char last = 0;
    void triggered() override
    {
        ++fired;
        if (read(_fildes, &last, 1) <= 0)
            deactivate();
    }
};

struct CountingTimeout : qipTimeout {
    int fired = 0;
    void triggered() override { ++fired; }
};

struct Listener : qipPortSensor {
    void triggered() override {}
};

}  // namespace

TEST(FdSensor, aReadableDescriptorReachesTriggeredUntilDeactivatedAndNoDescriptorDoesNothing)
{
    CountingReader none;
    EXPECT_EQ(none.activate(), 0);
    EXPECT_EQ(none.deactivate(), 0);
    EXPECT_EQ(none.status(), qipGadget_Uninitialized);
    EXPECT_EQ(none.watch(-3), -1);

    XtAppContext c = loopContext();
    int fds[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
    CountingReader r;
    qipFdActivity_X engine(&r);
    r.engine(&engine);
    ASSERT_EQ(r.watch(fds[0]), 0);
    EXPECT_EQ(engine.deactivate(), 1);  // nothing registered yet
    ASSERT_EQ(r.activate(), 0);
    EXPECT_EQ(r.status(), qipGadget_On);
    ASSERT_EQ(write(fds[1], "ab", 2), 2);
    EXPECT_TRUE(lumox_test::runLoopUntil(c, [&] { return r.fired == 2; }, 3000));
    EXPECT_EQ(r.last, 'b');
    EXPECT_EQ(r.deactivate(), 0);
    EXPECT_EQ(r.status(), qipGadget_Off);
    ASSERT_EQ(write(fds[1], "c", 1), 1);
    lumox_test::runLoopFor(c, 50);
    EXPECT_EQ(r.fired, 2);
    close(fds[0]);
    close(fds[1]);
}

TEST(Alarm, firesOnceAndAgainOnlyWhenActivatedAgainButNeverWithAZeroInterval)
{
    XtAppContext c = loopContext();
    CountingTimeout t;
    qipBasicAlarm_X engine(&t);
    t.engine(&engine);
    EXPECT_EQ(t.activate(), 0);
    EXPECT_EQ(engine.timerId(), 0u) << "a zero interval never arms";
    EXPECT_EQ(engine.deactivate(), -1) << "an unarmed engine refuses to stop";
    EXPECT_EQ(engine.set(0), -1);

    t.setTimer(20);
    ASSERT_EQ(t.activate(), 0);
    EXPECT_TRUE(lumox_test::runLoopUntil(c, [&] { return t.fired == 1; }, 3000));
    lumox_test::runLoopFor(c, 80);
    EXPECT_EQ(t.fired, 1);
    ASSERT_EQ(t.activate(), 0);
    ASSERT_EQ(t.deactivate(), 0);  // stopped before it fires
    lumox_test::runLoopFor(c, 80);
    EXPECT_EQ(t.fired, 1);
}

TEST(PortSensor, aPortThatAnotherSocketHoldsIsRefused)
{
    int base = lumox_test::findFreePorts(1);
    int other = lumox_test::listenOn(base);
    ASSERT_GE(other, 0);
    Listener l;
    EXPECT_EQ(l.monitor(base), -1);
    EXPECT_EQ(l.fildes(), -1);
    close(other);

    EXPECT_EQ(l.monitor(base), 0);
    ASSERT_GE(l.fildes(), 0);
    EXPECT_EQ(fcntl(l.fildes(), F_GETFD) & FD_CLOEXEC, FD_CLOEXEC);
    int fd = lumox_test::connectTo(base);
    EXPECT_GE(fd, 0);
    close(fd);
    close(l.fildes());
}
