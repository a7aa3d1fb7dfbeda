// A switch that stops answering, and clients that misbehave towards it: the
// client library's waits end within their bound, and the simulator keeps
// serving everyone else while one client floods it without reading, while
// many connections sit idle, and when connections exceed what it can hold.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "platform/openclt/wire.h"
#include "tests/support/answers.h"
#include "tests/support/harness.h"

namespace {

const char* const kSocket = "/tmp/switchsim.sock";
const std::string kOspfAdminMode = "/api/v2/routing/ospf-config/map-intf-admin-mode";
const char* const kOspfAdminModeOp = "rpcclt_openapiOspfMapIntfAdminModeSet";

double secondsSince(const timespec& start)
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec - start.tv_sec) + (now.tv_nsec - start.tv_nsec) / 1e9;
}

timespec monotonicNow()
{
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t;
}

// The simulator as a child whose pid the test knows, so that it can be
// continued after stopping itself, and started under an open-file limit.
class OwnSimulator {
public:
    explicit OwnSimulator(rlim_t softFiles = 0, rlim_t hardFiles = 0)
    {
        std::vector<std::string> cmd = harness::emulatorPrefix();
        cmd.push_back(harness::programPath("switchsim"));
        pid_t parent = getpid();
        pid_ = fork();
        if (pid_ == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (getppid() != parent)
                _exit(1);
            if (softFiles) {
                rlimit rl{softFiles, hardFiles};
                if (setrlimit(RLIMIT_NOFILE, &rl) != 0)
                    _exit(1);
            }
            std::vector<char*> argv;
            for (std::string& s : cmd)
                argv.push_back(&s[0]);
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        for (int i = 0; i < 1000; ++i) {
            bool timedOut;
            int fd = openclt::connectSwitch(kSocket, 1000, &timedOut);
            if (fd >= 0) {
                close(fd);
                return;
            }
            usleep(10000);
        }
        end();
    }
    ~OwnSimulator() { end(); }
    bool ok() const { return pid_ > 0; }
    void resume() { kill(pid_, SIGCONT); }
    void end()
    {
        if (pid_ <= 0)
            return;
        kill(pid_, SIGCONT);
        kill(pid_, SIGTERM);
        int st;
        for (int i = 0; i < 500 && waitpid(pid_, &st, WNOHANG) == 0; ++i)
            usleep(10000);
        if (kill(pid_, SIGKILL) == 0)
            waitpid(pid_, &st, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
};

// A connection of the test's own, its every wait bounded by `timeoutMs`.
int rawConnect(int timeoutMs = 5000)
{
    bool timedOut = false;
    return openclt::connectSwitch(kSocket, timeoutMs, &timedOut);
}

openclt::Request controlRequest(const char* name)
{
    openclt::Request req;
    req.type = openclt::kMsgControl;
    req.name = name;
    return req;
}

// Asks for a pong on connection `fd`; "" without an answer, with *timedOut
// telling an answer that did not come in time from a connection closed.
std::string pingOn(int fd, bool* timedOut = nullptr)
{
    std::string frame;
    openclt::Response resp;
    bool late = false;
    if (!openclt::sendFrame(fd, openclt::encodeRequest(controlRequest("ping")), &late) ||
        !openclt::recvFrame(fd, &frame, &late) || !openclt::decodeResponse(frame, &resp) || resp.outs.empty()) {
        if (timedOut)
            *timedOut = late;
        return "";
    }
    return resp.outs[0];
}

// Runs `fn` in a child and returns its exit status; -1 when it has not
// ended after `seconds` (it is then killed).
template <class F>
int inChild(F fn, int seconds)
{
    pid_t pid = fork();
    if (pid == 0)
        _exit(fn());
    int st = 0;
    for (int i = 0; i < seconds * 100; ++i) {
        if (waitpid(pid, &st, WNOHANG) == pid)
            return WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
        usleep(10000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, &st, 0);
    return -1;
}

harness::CgiRequest adminModeRequest(const char* timeoutMs)
{
    harness::CgiRequest req;
    req.method = "PUT";
    req.uri = kOspfAdminMode;
    req.body = "{\"intf\":5,\"mode\":\"enable\"}";
    req.extraEnv = {std::string("OPENCLT_REPLY_TIMEOUT_MS=") + timeoutMs};
    return req;
}

// A listening socket at the switch's address that never accepts.
class SilentSwitch {
public:
    explicit SilentSwitch(int backlog)
    {
        fd_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        sockaddr_un a{};
        a.sun_family = AF_UNIX;
        snprintf(a.sun_path, sizeof a.sun_path, "%s", kSocket);
        ok_ = fd_ >= 0 && bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 && listen(fd_, backlog) == 0;
    }
    ~SilentSwitch()
    {
        close(fd_);
        unlink(kSocket);
    }
    bool ok() const { return ok_; }
    /// Takes one waiting connection and closes it; false when none waits.
    bool takeOne()
    {
        int c = accept(fd_, nullptr, nullptr);
        if (c < 0)
            return false;
        close(c);
        return true;
    }

private:
    int fd_ = -1;
    bool ok_ = false;
};

class StalledSwitch : public testing::Test {
protected:
    void SetUp() override
    {
        setenv("OPENCLT_REPLY_TIMEOUT_MS", "300", 1);
        harness::writeAdminSession();
    }
    void TearDown() override { unsetenv("OPENCLT_REPLY_TIMEOUT_MS"); }
};

// The switch stops itself when the handler's call arrives: the call fails
// within the bound, the handler answers as for any failed call, and the
// program exits normally. Continued, the switch serves the call it held.
TEST_F(StalledSwitch, RequestToSwitchStoppedInACallEndsWithFailedCallAnswer)
{
    OwnSimulator sim;
    ASSERT_TRUE(sim.ok());
    ASSERT_EQ(harness::runProgram("switchsim", {"--ctl", "freeze-on", kOspfAdminModeOp}).status, 0);
    timespec start = monotonicNow();
    harness::CgiResult r = harness::runCgi(adminModeRequest("500"));
    EXPECT_LT(secondsSince(start), 20.0);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(harness::codeOf(r), 10000) << r.out;
    EXPECT_EQ(r.out.back(), '\n');
    // Stopped indeed: a control command gets no answer either, in time.
    harness::CgiResult ping = harness::runProgram("switchsim", {"--ctl", "ping"});
    EXPECT_EQ(ping.status, 1);
    EXPECT_EQ(ping.out, "");
    sim.resume();
    EXPECT_EQ(harness::runProgram("switchsim", {"--ctl", "ping"}).out, "pong\n");
    std::string calls = harness::runProgram("switchsim", {"--ctl", "calls"}).out;
    EXPECT_NE(calls.find(std::string(kOspfAdminModeOp) + " 5 1 = 0"), std::string::npos) << calls;
}

// A switch that takes the connection and the call but never answers: the
// call fails within the bound, and the handle's next call fails without
// connecting again, so a process does not wait once per call. A handle
// registered again tries the switch anew.
TEST_F(StalledSwitch, HandleFailsAtOnceAfterAMissedAnswer)
{
    SilentSwitch sw(8);
    ASSERT_TRUE(sw.ok());
    int rc = inChild(
        [] {
            OpenClientHandle h;
            openapiClientRegister("stall_test", &h);
            int first = rpcclt_openapiConnectivityCheck(&h);
            int second = rpcclt_openapiConnectivityCheck(&h);
            openapiClientTearDown(&h);
            return first == kOpenRpcError && second == kOpenRpcError ? 0 : 1;
        },
        20);
    EXPECT_EQ(rc, 0);
    EXPECT_TRUE(sw.takeOne());
    EXPECT_FALSE(sw.takeOne());  // the second call made no connection
    rc = inChild(
        [] {
            OpenClientHandle h;
            openapiClientRegister("stall_test", &h);
            return rpcclt_openapiConnectivityCheck(&h) == kOpenRpcError ? 0 : 1;
        },
        20);
    EXPECT_EQ(rc, 0);
    EXPECT_TRUE(sw.takeOne());
}

// A switch whose queue of connections waiting to be accepted is full makes
// connect wait; that wait ends within the bound too.
TEST_F(StalledSwitch, ConnectToAFullQueueEndsWithinTheBound)
{
    SilentSwitch sw(0);
    ASSERT_TRUE(sw.ok());
    std::vector<int> queued;
    for (int i = 0; i < 64; ++i) {
        int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
        sockaddr_un a{};
        a.sun_family = AF_UNIX;
        snprintf(a.sun_path, sizeof a.sun_path, "%s", kSocket);
        if (connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
            close(fd);
            break;
        }
        queued.push_back(fd);
    }
    ASSERT_LT(queued.size(), 64u) << "the queue never filled";
    int rc = inChild(
        [] {
            OpenClientHandle h;
            openapiClientRegister("stall_test", &h);
            return rpcclt_openapiConnectivityCheck(&h) == kOpenRpcError ? 0 : 1;
        },
        20);
    EXPECT_EQ(rc, 0);
    for (int fd : queued)
        close(fd);
}

TEST(ReplyTimeout, ReadFromTheEnvironmentWithinItsRange)
{
    const struct {
        const char* text;  // nullptr: unset
        int ms;
    } cases[] = {
        {nullptr, openclt::kDefaultReplyTimeoutMs},
        {"", openclt::kDefaultReplyTimeoutMs},
        {"250", 250},
        {"1", 1},
        {"3600000", 3600000},
        {"3600001", openclt::kDefaultReplyTimeoutMs},
        {"0", openclt::kDefaultReplyTimeoutMs},
        {"-5", openclt::kDefaultReplyTimeoutMs},
        {"12s", openclt::kDefaultReplyTimeoutMs},
        {"99999999999999999999", openclt::kDefaultReplyTimeoutMs},
    };
    for (const auto& c : cases) {
        if (c.text)
            setenv("OPENCLT_REPLY_TIMEOUT_MS", c.text, 1);
        else
            unsetenv("OPENCLT_REPLY_TIMEOUT_MS");
        EXPECT_EQ(openclt::replyTimeoutMs(), c.ms) << (c.text ? c.text : "(unset)");
    }
    unsetenv("OPENCLT_REPLY_TIMEOUT_MS");
}

// Raises this process's open-file limit; false when it cannot reach `n`.
bool allowFiles(rlim_t n)
{
    rlimit rl;
    if (getrlimit(RLIMIT_NOFILE, &rl) != 0 || rl.rlim_max < n)
        return false;
    rl.rlim_cur = rl.rlim_max;
    return setrlimit(RLIMIT_NOFILE, &rl) == 0;
}

class BusySwitch : public testing::Test {
protected:
    void SetUp() override { harness::writeAdminSession(); }
};

// One client sends call after call and never reads an answer. Once its
// answers pile up it is served no more, and everyone else is served as
// before; when it reads at last, its answers are there, in order.
TEST_F(BusySwitch, ClientThatNeverReadsDoesNotStopOthers)
{
    OwnSimulator sim;
    ASSERT_TRUE(sim.ok());
    int flood = rawConnect();
    ASSERT_GE(flood, 0);
    openclt::Request call;
    call.name = "rpcclt_openapiNetworkOSVersionGet";
    openclt::WireArg out;
    out.kind = openclt::kArgBufInOut;
    out.cap = 100;
    call.args = {out};
    std::string frame = openclt::encodeRequest(call);
    std::string frames;
    for (int i = 0; i < 256; ++i) {
        openclt::Writer w;
        w.u32(static_cast<uint32_t>(frame.size()));
        frames += w.buf() + frame;
    }
    // Send until the switch has taken nothing for a while: its buffers and
    // this client's are full.
    size_t sent = 0, at = 0;
    timespec start = monotonicNow();
    for (;;) {
        ssize_t w = send(flood, frames.data() + at, frames.size() - at, MSG_DONTWAIT | MSG_NOSIGNAL);
        if (w > 0) {
            sent += static_cast<size_t>(w);
            at = (at + static_cast<size_t>(w)) % frames.size();
            continue;
        }
        ASSERT_TRUE(w < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) << strerror(errno);
        pollfd p{flood, POLLOUT, 0};
        if (poll(&p, 1, 300) == 0)
            break;
        ASSERT_LT(secondsSince(start), 60.0) << "the switch kept taking requests";
    }
    ASSERT_GT(sent, 0u);

    harness::CgiResult r = harness::runCgi(adminModeRequest("5000"));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(harness::codeOf(r), 0) << r.out;
    EXPECT_EQ(harness::runProgram("switchsim", {"--ctl", "ping"}).out, "pong\n");

    // Many answers wait: take the first frame alone.
    auto readExactly = [flood](size_t n) {
        std::string b(n, '\0');
        for (size_t got = 0; got < n;) {
            ssize_t r = read(flood, &b[got], n - got);
            if (r <= 0)
                return std::string();
            got += static_cast<size_t>(r);
        }
        return b;
    };
    std::string head = readExactly(4);
    ASSERT_EQ(head.size(), 4u);
    uint32_t len = 0;
    openclt::Reader(head.data(), 4).u32(&len);
    ASSERT_LT(len, 1000u);
    openclt::Response resp;
    ASSERT_TRUE(openclt::decodeResponse(readExactly(len), &resp));
    EXPECT_EQ(resp.status, 0);
    ASSERT_EQ(resp.outs.size(), 1u);
    EXPECT_STREQ(resp.outs[0].c_str(), "4.1.2.7");
    close(flood);
}

// More idle connections than the simulator's open-file limit allowed at its
// start: it raises the limit, takes them all and still answers a request.
TEST_F(BusySwitch, ThousandIdleConnectionsDoNotStopARequest)
{
    const int kIdle = 1100;
    if (!allowFiles(kIdle + 200))
        GTEST_SKIP() << "the open-file limit is below " << kIdle + 200;
    OwnSimulator sim(256, kIdle + 200);
    ASSERT_TRUE(sim.ok());
    std::vector<int> idle;
    for (int i = 0; i < kIdle; ++i) {
        int fd = rawConnect();
        ASSERT_GE(fd, 0) << "connection " << i;
        idle.push_back(fd);
    }
    harness::CgiResult r = harness::runCgi(adminModeRequest("5000"));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(harness::codeOf(r), 0) << r.out;
    EXPECT_EQ(pingOn(idle.back()), "pong\n");
    EXPECT_EQ(pingOn(idle.front()), "pong\n");
    for (int fd : idle)
        close(fd);
}

// Under a small open-file limit the simulator holds as many clients as the
// limit leaves room for; a connection beyond is closed at once (its client
// fails without waiting out its bound, and is no stalled switch to the
// library), and freed places take new connections.
TEST_F(BusySwitch, ConnectionsBeyondCapacityAreClosedAtOnce)
{
    setenv("OPENCLT_REPLY_TIMEOUT_MS", "10000", 1);
    OwnSimulator sim(48, 48);
    ASSERT_TRUE(sim.ok());
    std::vector<int> held;
    int refused = 0;
    for (int i = 0; i < 48; ++i) {
        int fd = rawConnect(10000);
        bool timedOut = false;
        std::string answer = fd >= 0 ? pingOn(fd, &timedOut) : "";
        EXPECT_FALSE(timedOut) << "connection " << i << " was left waiting";
        if (answer == "pong\n") {
            held.push_back(fd);
        } else {
            ++refused;
            if (fd >= 0)
                close(fd);
        }
    }
    EXPECT_GE(held.size(), 8u);
    EXPECT_GE(refused, 8);

    OpenClientHandle h;
    ASSERT_EQ(openapiClientRegister("capacity_test", &h), 0);
    EXPECT_EQ(rpcclt_openapiConnectivityCheck(&h), kOpenRpcError);
    EXPECT_EQ(pingOn(held.front()), "pong\n");
    for (int fd : held)
        close(fd);
    // The switch takes the places back as it sees the connections end.
    int rc = kOpenRpcError;
    for (int attempt = 0; attempt < 500 && rc != 0; ++attempt) {
        rc = rpcclt_openapiConnectivityCheck(&h);
        if (rc != 0)
            usleep(10000);
    }
    EXPECT_EQ(rc, 0);
    openapiClientTearDown(&h);
    unsetenv("OPENCLT_REPLY_TIMEOUT_MS");
}

}  // namespace
