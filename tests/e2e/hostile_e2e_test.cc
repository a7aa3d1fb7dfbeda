// The real programs in a hostile /tmp: a full file system, a level file
// rewritten under them, planted links and FIFOs, a session replaced while a
// request waits for its lock, and query strings that look like paths.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "runtime/log.h"
#include "tests/support/harness.h"

namespace {

using harness::CgiRequest;
using harness::CgiResult;
using harness::readFile;
using harness::writeFile;

const std::string kForbidden = "Status:403\r\n\r\n";
const std::string kStubAnswer = std::string(harness::kJsonHeader) + harness::kStubEnvelope;

CgiRequest stubGet(const std::string& session = "admin-1")
{
    CgiRequest r;
    r.uri = "/api/v2/routing/bgp-config/local-as";
    r.session = session;
    return r;
}

// A child that rewrites the level file as `echo 7 >` does (empty it, then
// write the digit) until it is killed.
class LevelRewriter {
public:
    LevelRewriter()
    {
        pid_ = fork();
        if (pid_ == 0) {
            for (;;) {
                int fd = open(logtest::kLevelFile, O_WRONLY | O_CREAT | O_TRUNC, 0666);
                usleep(500);
                if (fd >= 0) {
                    (void)!write(fd, "7\n", 2);
                    close(fd);
                }
                usleep(500);
            }
        }
    }
    ~LevelRewriter()
    {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }

private:
    pid_t pid_;
};

TEST(HostileTmp, FullTmpWithNewLevelFileDoesNotKillRequests)
{
    // A small /tmp of this test's own, filled up after the switch and the
    // session are in place; the level file does not exist yet.
    ASSERT_EQ(mount("tmpfs", "/tmp", "tmpfs", 0, "mode=1777,size=256k"), 0);
    harness::Simulator sim;
    ASSERT_TRUE(sim.ok());
    harness::writeAdminSession();
    int fd = open("/tmp/filler", O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    char block[4096] = {};
    while (write(fd, block, sizeof block) > 0) {
    }
    close(fd);
    ASSERT_FALSE(harness::fileExists(logtest::kLevelFile));
    for (int i = 0; i < 3; ++i) {
        CgiResult r = harness::runCgi(stubGet());
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, kStubAnswer);
    }
}

TEST(HostileTmp, LevelFileRewrittenWhileRequestsRun)
{
    harness::Simulator sim;
    ASSERT_TRUE(sim.ok());
    harness::writeAdminSession();
    LevelRewriter rewriter;
    CgiRequest req = stubGet();
    req.refreshPresent = true;  // the session file stays as it is
    for (int i = 0; i < 150; ++i) {
        CgiResult r = harness::runCgi(req);
        ASSERT_EQ(r.status, 0) << "request " << i;
        ASSERT_EQ(r.out, kStubAnswer) << "request " << i;
    }
}

TEST(HostileTmp, UnopenableLogFileLeavesStandardOutputToTheResponse)
{
    harness::Simulator sim;
    ASSERT_TRUE(sim.ok());
    harness::writeAdminSession();
    writeFile(logtest::kLevelFile, "7\n\n\n");  // every trace is logged
    ASSERT_EQ(mkdir(logtest::kLogFile, 0755), 0);
    CgiResult ok = harness::runCgi(stubGet());
    EXPECT_EQ(ok.status, 0);
    EXPECT_EQ(ok.out, kStubAnswer);
    CgiResult refused = harness::runCgi(stubGet("nobody"));
    EXPECT_EQ(refused.status, 0);
    EXPECT_EQ(refused.out, kForbidden);
}

TEST(HostileTmp, PlantedLinksAreNotFollowed)
{
    harness::Simulator sim;
    ASSERT_TRUE(sim.ok());
    harness::writeAdminSession();
    const std::string victim = "/mnt/victim";
    const std::string content = "admin\n0\nprecious";
    for (const char* planted : {logtest::kLevelFile, logtest::kLogFile, "/tmp/session/linked"}) {
        SCOPED_TRACE(planted);
        writeFile(victim, content);
        unlink(planted);
        ASSERT_EQ(symlink(victim.c_str(), planted), 0);
        bool linkedSession = std::string(planted) == "/tmp/session/linked";
        CgiResult r = harness::runCgi(stubGet(linkedSession ? "linked" : "admin-1"));
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, linkedSession ? kForbidden : kStubAnswer);
        EXPECT_EQ(readFile(victim), content);
        unlink(planted);
    }
}

TEST(HostileTmp, FifosInPlaceOfSharedFilesNeitherBlockNorCount)
{
    harness::Simulator sim;
    ASSERT_TRUE(sim.ok());
    harness::writeAdminSession();
    ASSERT_EQ(mkfifo("/tmp/session/piped", 0600), 0);
    EXPECT_EQ(harness::runCgi(stubGet("piped")).out, kForbidden);
    for (const char* shared : {logtest::kLevelFile, logtest::kLogFile}) {
        unlink(shared);
        ASSERT_EQ(mkfifo(shared, 0666), 0);
    }
    CgiResult r = harness::runCgi(stubGet());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, kStubAnswer);
}

// Whether some process waits for a flock (a "->" line of /proc/locks).
bool lockWaiterPresent()
{
    return readFile("/proc/locks").find("->") != std::string::npos;
}

TEST(HostileTmp, SessionRecreatedWhileWaitingForItsLockSurvives)
{
    harness::Simulator sim;
    ASSERT_TRUE(sim.ok());
    // An expired session, locked by "another request" (this test).
    long now = harness::uptimeSeconds();
    harness::writeSession("s-1", "admin\n" + std::to_string(now - 8000) + "\n");
    int held = open("/tmp/session/s-1", O_RDWR | O_CLOEXEC);  // not inherited by the request
    ASSERT_GE(held, 0);
    ASSERT_EQ(flock(held, LOCK_EX), 0);

    CgiResult waiter;
    std::thread t([&] { waiter = harness::runCgi(stubGet("s-1")); });
    for (int i = 0; i < 1000 && !lockWaiterPresent(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_TRUE(lockWaiterPresent());

    // The holder expires the session, and a login creates it anew.
    unlink("/tmp/session/s-1");
    const std::string fresh = "admin\n" + std::to_string(harness::uptimeSeconds()) + "\n";
    harness::writeSession("s-1", fresh);
    close(held);
    t.join();

    EXPECT_EQ(waiter.out, kStubAnswer);
    ASSERT_TRUE(harness::fileExists("/tmp/session/s-1"));
    EXPECT_EQ(readFile("/tmp/session/s-1").rfind("admin\n", 0), 0u);
}

TEST(HostileTmp, SlashInQueryValueDoesNotMoveTheRoute)
{
    harness::Simulator sim;
    ASSERT_TRUE(sim.ok());
    harness::writeAdminSession();
    CgiRequest plain;
    plain.uri = "/api/v2/routing/ospf-config/map-intf-admin-mode?intf=5";
    plain.query = "intf=5";
    CgiRequest slashed = plain;
    slashed.uri = "/api/v2/routing/ospf-config/map-intf-admin-mode?intf=5&x=a/b";
    slashed.query = "intf=5&x=a/b";
    CgiResult a = harness::runCgi(plain);
    CgiResult b = harness::runCgi(slashed);
    ASSERT_NE(a.out.find("\"respCode\":\t0"), std::string::npos) << a.out;
    EXPECT_EQ(b.status, 0);
    EXPECT_EQ(b.out, a.out);
}

}  // namespace
