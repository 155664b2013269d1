#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "qip/Components/qipQuitCommand.h"
#include "qip/Monitors/qipSensor.h"

namespace {

// A sensor that only records how the command switches it.
class RecordingSensor : public qipSensor {
public:
    int activate() override
    {
        ++activations;
        return qipSensor::activate();
    }
    int deactivate() override
    {
        ++deactivations;
        return qipSensor::deactivate();
    }
    void eventDetected() override {}
    void triggered() override {}
    int activations = 0;
    int deactivations = 0;
};

class CountingCommand : public qipCommand {
public:
    CountingCommand(const char* name, int disabled, int result = 0) : qipCommand(name, disabled), result(result) {}
    int doit() override
    {
        ++runs;
        return result;
    }
    int result;
    int runs = 0;
};

}  // namespace

TEST(Command, disablesNestAndSwitchSensorsOnlyAtTheEdges)
{
    CountingCommand c("nested", 2);
    RecordingSensor a, b;
    c.registerServer(&a);
    c.registerServer(&b);
    EXPECT_EQ(a.status(), qipGadget_Off);
    EXPECT_EQ(c.enable(), 1);
    EXPECT_EQ(a.activations, 0);
    EXPECT_EQ(c.enable(), 0);
    EXPECT_EQ(a.activations, 1);
    EXPECT_EQ(b.status(), qipGadget_On);
    EXPECT_EQ(c.enable(), 0) << "enabling an enabled command changes nothing";
    EXPECT_EQ(a.activations, 1);

    c.disable();
    c.disable();
    EXPECT_EQ(a.deactivations, 1);
    EXPECT_EQ(c.disabled(), 2);
    c.removeServer(&b);
    c.enable();
    c.enable();
    EXPECT_EQ(a.activations, 2);
    EXPECT_EQ(b.activations, 1);
}

TEST(Command, executeRunsOnlyWhenEnabledAndThenSwitchesTheOtherCommands)
{
    CountingCommand run("run", 1);
    CountingCommand toEnable("toEnable", 1);
    CountingCommand toDisable("toDisable", 0);
    run.inActivationList(&toEnable);
    run.inDeactivationList(&toDisable);

    EXPECT_EQ(run.execute(), -1);
    EXPECT_EQ(run.runs, 0);

    run.enable();
    EXPECT_EQ(run.execute(), 0);
    EXPECT_EQ(run.runs, 1);
    EXPECT_TRUE(toEnable.enabled());
    EXPECT_EQ(toDisable.disabled(), 1);

    // A failing run leaves the other commands alone.
    run.result = 7;
    EXPECT_EQ(run.execute(), 7);
    EXPECT_TRUE(toEnable.enabled());
    EXPECT_EQ(toDisable.disabled(), 1);
}

TEST(Command, aNamelessCommandGetsAFallbackNameAndAReport)
{
    testing::internal::CaptureStderr();
    CountingCommand c(nullptr, 0);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_STREQ(c.name(), "Nameless Command");
    EXPECT_EQ(err, "*** Internal Error: Attempt to construct a nameless Command. QCMD:ERR-0001\n");
}

TEST(Command, quitEndsTheProcessWithStatusZero)
{
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        qipQuitCommand quit("Exit", 0);
        quit.execute();
        _exit(3);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);

    qipQuitCommand disabled("Exit", 1);
    EXPECT_EQ(disabled.execute(), -1) << "disabled, it refuses and the process goes on";
    EXPECT_EQ(theQuitCommand, nullptr);
}
