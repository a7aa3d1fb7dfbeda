// Lock-file wrappers under concurrency: processes racing on one wrapper never
// overlap inside it, even though every holder removes the lock file.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>
#include <sstream>

#include "access/safe_wrap.h"
#include "tests/access/access_fixture.h"

namespace {

using accesstest::AccessTest;

const char* const kTrace = "/tmp/race_trace";

void traceLine(const char* what)
{
    char line[64];
    int n = snprintf(line, sizeof line, "%s %d\n", what, static_cast<int>(getpid()));
    int fd = open(kTrace, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd >= 0) {
        ssize_t w = write(fd, line, static_cast<size_t>(n));
        (void)w;
        close(fd);
    }
}

int tracedOp(void*)
{
    traceLine("enter");
    usleep(3000);
    traceLine("leave");
    return 0;
}

// Forks `children` processes that each run `body` `rounds` times; true when
// every child exited 0.
template <class Body>
bool race(int children, int rounds, Body body)
{
    std::vector<pid_t> pids;
    for (int c = 0; c < children; ++c) {
        pid_t pid = fork();
        if (pid == 0) {
            int failures = 0;
            for (int r = 0; r < rounds; ++r)
                failures += body() != 0;
            _exit(failures ? 1 : 0);
        }
        pids.push_back(pid);
    }
    bool ok = true;
    for (pid_t p : pids) {
        int st = 0;
        waitpid(p, &st, 0);
        ok = ok && WIFEXITED(st) && WEXITSTATUS(st) == 0;
    }
    return ok;
}

TEST(SafeWrapper, RacingProcessesNeverOverlap)
{
    unlink(kTrace);
    const int children = 8, rounds = 12;
    ASSERT_TRUE(race(children, rounds, [] { return safeWrapperRun("raceOp", "raceOpSafe", tracedOp, nullptr); }));
    std::istringstream in(harness::readFile(kTrace));
    std::string what, pid, inside;
    int entries = 0;
    while (in >> what >> pid) {
        if (what == "enter") {
            EXPECT_EQ(inside, "") << "process " << pid << " entered while " << inside << " was inside";
            inside = pid;
            ++entries;
        } else {
            EXPECT_EQ(inside, pid);
            inside.clear();
        }
    }
    EXPECT_EQ(entries, children * rounds);
    EXPECT_FALSE(harness::fileExists("/tmp/raceOp.lock"));
}

TEST(SafeWrapper, ResultOfTheOperationPassesThrough)
{
    int arg = 10016;
    EXPECT_EQ(safeWrapperRun("passOp", "passOpSafe", [](void* a) { return *static_cast<int*>(a); }, &arg), 10016);
    EXPECT_FALSE(harness::fileExists("/tmp/passOp.lock"));
    EXPECT_EQ(safeWrapperRun(nullptr, "x", tracedOp, nullptr), 10003);
}

TEST(SafeWrapper, PlantedSymlinkIsNotFollowed)
{
    ASSERT_EQ(symlink("/mnt/victim", "/tmp/linkOp.lock"), 0);
    int ran = 0;
    EXPECT_EQ(safeWrapperRun("linkOp", "linkOpSafe", [](void* a) { return ++*static_cast<int*>(a), 0; }, &ran), 10000);
    EXPECT_EQ(ran, 0);
    EXPECT_FALSE(harness::fileExists("/mnt/victim"));
    unlink("/tmp/linkOp.lock");
}

class SafeOverSwitch : public AccessTest {
protected:
    void SetUp() override
    {
        AccessTest::SetUp();
        start();
    }
};

// The fixed-name show file of the management parser is shared by all
// processes: without the lock they would remove each other's output.
TEST_F(SafeOverSwitch, ConcurrentManagementReadsAllSucceed)
{
    ASSERT_EQ(managementPortIPv4ParametersSetSafe(&h, 1, 1, "10.7.0.2", "255.255.0.0", "10.7.0.1"), 0);
    bool ok = race(6, 5, [] {
        OpenClientHandle c;
        if (openapiClientRegister("race", &c) != 0)
            return 1;
        uint32_t vlan = 0;
        char method[kMgmtTextSize], address[kMgmtTextSize], mask[kMgmtTextSize], gateway[kMgmtTextSize];
        int rc = managementPortIPv4ParametersGetSafe(&c, &vlan, method, address, mask, gateway);
        openapiClientTearDown(&c);
        return rc == 0 && strcmp(address, "10.7.0.2") == 0 && strcmp(gateway, "10.7.0.1") == 0 ? 0 : 1;
    });
    EXPECT_TRUE(ok);
    EXPECT_FALSE(harness::fileExists("/tmp/managementPortIPv4ParametersGet.lock"));
}

}  // namespace
