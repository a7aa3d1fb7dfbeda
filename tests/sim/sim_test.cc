// The client library against the simulated switch: key store helpers,
// registration, fault injection, persistence and robustness of the server.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/openclt/wire.h"
#include "runtime/log.h"
#include "runtime/open_client.h"
#include "sim/ops.h"
#include "tests/support/harness.h"

namespace {

class SimTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sim.ok());
        ASSERT_EQ(openapiClientRegister("sim_test", &h), 0);
    }
    void TearDown() override { openapiClientTearDown(&h); }
    harness::Simulator sim;
    OpenClientHandle h;
};

TEST_F(SimTest, KeyStoreCreatesDatabaseOnFirstSet)
{
    EXPECT_EQ(appDbExists(&h, "webui"), 0);
    EXPECT_EQ(setDB(&h, "webui", "theme", "dark"), 0);
    EXPECT_EQ(appDbExists(&h, "webui"), 1);
    char value[256];
    EXPECT_EQ(getDB(&h, "webui", "theme", value, sizeof value), 0);
    EXPECT_STREQ(value, "dark");
    EXPECT_EQ(getDB(&h, "webui", "absent", value, sizeof value), 10000);
    EXPECT_EQ(getDB(&h, "nodb", "theme", value, sizeof value), 10000);
}

TEST_F(SimTest, KeyStoreCutsValueToDestination)
{
    ASSERT_EQ(setDB(&h, "webui", "banner", "0123456789abcdef"), 0);
    char small[8];
    memset(small, 'z', sizeof small);
    EXPECT_EQ(getDB(&h, "webui", "banner", small, sizeof small), 0);
    EXPECT_STREQ(small, "0123456");
}

TEST_F(SimTest, CreateAndDeleteTolerateExisting)
{
    EXPECT_EQ(createDB(&h, "app"), 0);
    EXPECT_EQ(createDB(&h, "app"), 0);  // already exists counts as success
    EXPECT_EQ(deleteDB(&h, "app"), 0);
    EXPECT_EQ(deleteDB(&h, "app"), 10000);  // not found is a failure
    EXPECT_EQ(appDbExists(&h, "app"), 0);
}

TEST_F(SimTest, KeyTextsCutAt255Characters)
{
    std::string longKey(300, 'k');
    ASSERT_EQ(setDB(&h, "app", longKey.c_str(), "v"), 0);
    char value[256];
    EXPECT_EQ(getDB(&h, "app", std::string(255, 'k').c_str(), value, sizeof value), 0);
    EXPECT_STREQ(value, "v");
}

TEST_F(SimTest, InjectedFaultAnswersStatusThenClears)
{
    sim.ctl({"fault", "rpcclt_openapiUserAppConfigDbCreateAppDb", "-28", "1"});
    EXPECT_EQ(createDB(&h, "app"), 10000);
    EXPECT_EQ(appDbExists(&h, "app"), 0);
    EXPECT_EQ(createDB(&h, "app"), 0);
    sim.ctl({"fault", "rpcclt_openapiNetworkOSVersionGet", "-5"});
    char buf[100];
    BufDesc d{sizeof buf, buf};
    EXPECT_EQ(rpcclt_openapiNetworkOSVersionGet(&h, &d), -5);
    EXPECT_EQ(rpcclt_openapiNetworkOSVersionGet(&h, &d), -5);
    sim.ctl({"clear-faults"});
    EXPECT_EQ(rpcclt_openapiNetworkOSVersionGet(&h, &d), 0);
    EXPECT_STREQ(buf, "4.1.2.7");
}

TEST_F(SimTest, OutputTextCutToCallerBuffer)
{
    char buf[4];
    BufDesc d{sizeof buf, buf};
    EXPECT_EQ(rpcclt_openapiNetworkOSVersionGet(&h, &d), 0);
    EXPECT_STREQ(buf, "4.1");
}

TEST_F(SimTest, InitHandlerRegistersNamedClientAndCutsName)
{
    logOpen("oxel_cgi", kLogToFile, 8);
    OpenClientHandle h2;
    std::string longName(120, 'p');
    EXPECT_EQ(initHandler(longName.c_str(), &h2), 0);
    openapiClientTearDown(&h2);
    std::string calls = sim.ctl({"calls"});
    EXPECT_NE(calls.find("register " + std::string(99, 'p') + "\n"), std::string::npos) << calls;
    OpenClientHandle h3;
    EXPECT_EQ(initHandler("pathgate.cgi", &h3), 0);
    openapiClientTearDown(&h3);
    EXPECT_NE(sim.ctl({"calls"}).find("register pathgate.cgi_" + std::to_string(getpid()) + "\n"), std::string::npos);
    logClose();
}

int rawConnect()
{
    int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un a{};
    a.sun_family = AF_UNIX;
    snprintf(a.sun_path, sizeof a.sun_path, "/tmp/switchsim.sock");
    EXPECT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    return fd;
}

TEST_F(SimTest, MalformedFramesCloseOnlyTheirConnection)
{
    ASSERT_EQ(setDB(&h, "app", "k", "before"), 0);
    const std::string garbage[] = {
        std::string("\x05\x00\x00\x00hello", 9),             // not a request
        std::string("\xff\xff\xff\x7f", 4),                  // oversized frame
        std::string("\x20\x00\x00\x00\x01\x03\x00", 7),      // truncated, then closed
        std::string("\x08\x00\x00\x00\x01\xff\xff\x00\x00\x00\x00\x00", 12),  // name longer than frame
    };
    for (const std::string& g : garbage) {
        int fd = rawConnect();
        ASSERT_EQ(send(fd, g.data(), g.size(), MSG_NOSIGNAL), static_cast<ssize_t>(g.size()));
        shutdown(fd, SHUT_WR);
        char c;
        EXPECT_LE(read(fd, &c, 1), 0);  // closed, no answer
        close(fd);
    }
    char value[256];
    EXPECT_EQ(getDB(&h, "app", "k", value, sizeof value), 0);
    EXPECT_STREQ(value, "before");
}

TEST_F(SimTest, CallWithWrongArgumentShapeIsRefused)
{
    int fd = rawConnect();
    openclt::Request req;
    req.name = "rpcclt_openapiUserAppConfigDbSet";
    openclt::WireArg a;
    a.kind = openclt::kArgIn;
    a.data = "abcd";
    req.args = {a};
    ASSERT_TRUE(openclt::sendFrame(fd, openclt::encodeRequest(req)));
    std::string frame;
    openclt::Response resp;
    ASSERT_TRUE(openclt::recvFrame(fd, &frame));
    ASSERT_TRUE(openclt::decodeResponse(frame, &resp));
    EXPECT_EQ(resp.status, -22);
    req.name = "rpcclt_openapiNoSuchOperation";
    ASSERT_TRUE(openclt::sendFrame(fd, openclt::encodeRequest(req)));
    ASSERT_TRUE(openclt::recvFrame(fd, &frame));
    ASSERT_TRUE(openclt::decodeResponse(frame, &resp));
    EXPECT_EQ(resp.status, -28);
    close(fd);
}

// One key of the key store, through a client of its own.
int storeKey(const char* app, const char* value)
{
    OpenClientHandle h;
    openapiClientRegister("t", &h);
    int rc = setDB(&h, app, "key", value);
    openapiClientTearDown(&h);
    return rc;
}

std::string readKey(const char* app)
{
    OpenClientHandle h;
    openapiClientRegister("t", &h);
    char value[256] = "";
    int rc = getDB(&h, app, "key", value, sizeof value);
    openapiClientTearDown(&h);
    return rc == 0 ? value : "(error " + std::to_string(rc) + ")";
}

TEST(SimState, SurvivesRestart)
{
    {
        harness::Simulator sim({"--state", "/tmp/switch.json"});
        ASSERT_TRUE(sim.ok());
        ASSERT_EQ(storeKey("persist", "value 1"), 0);
    }
    EXPECT_FALSE(harness::fileExists("/tmp/switch.json.tmp"));
    harness::Simulator sim({"--state", "/tmp/switch.json"});
    ASSERT_TRUE(sim.ok());
    EXPECT_EQ(readKey("persist"), "value 1");
    EXPECT_NE(sim.ctl({"dump"}).find("\"persist\""), std::string::npos);
}

// The running simulator writes its changes to the state file a moment after
// they happen, so a simulator killed without warning later keeps them.
TEST(SimState, ChangesSurviveAKillSoonAfter)
{
    harness::Simulator sim({"--state", "/tmp/running.json"});
    ASSERT_TRUE(sim.ok());
    ASSERT_EQ(storeKey("running", "saved while up"), 0);
    bool saved = false;
    for (int i = 0; i < 300 && !saved; ++i) {
        saved = harness::readFile("/tmp/running.json").find("saved while up") != std::string::npos;
        if (!saved)
            usleep(10000);
    }
    EXPECT_TRUE(saved);
    sim.stop(SIGKILL);
    harness::Simulator again({"--state", "/tmp/running.json"});
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(readKey("running"), "saved while up");
}

TEST(SimState, RefusesFileThatIsNotState)
{
    harness::writeFile("/tmp/bad.json", "{ this is not state");
    harness::CgiResult r = harness::runProgram("switchsim", {"--state", "/tmp/bad.json"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(harness::readFile("/tmp/bad.json"), "{ this is not state");
}

TEST(SimState, DetachReturnsOnceSocketAccepts)
{
    harness::CgiResult r =
        harness::runProgram("switchsim", {"--detach", "--socket", "/tmp/alt.sock", "--pidfile", "/tmp/alt.pid"});
    ASSERT_EQ(r.status, 0);
    pid_t pid = static_cast<pid_t>(std::stol(harness::readFile("/tmp/alt.pid")));
    harness::CgiResult ping = harness::runProgram("switchsim", {"--socket", "/tmp/alt.sock", "--ctl", "ping"});
    EXPECT_EQ(ping.out, "pong\n");
    kill(pid, SIGTERM);
    for (int i = 0; i < 200 && harness::fileExists("/tmp/alt.sock"); ++i)
        usleep(10000);
    EXPECT_FALSE(harness::fileExists("/tmp/alt.sock"));
}

// The generic rules, on operations outside the catalog.
TEST(GenericOps, SetterStoresUnderKeysAndGetterReadsBack)
{
    static const uint8_t kSetKinds[] = {openclt::kArgIn, openclt::kArgIn, openclt::kArgBufIn};
    static const uint8_t kGetKinds[] = {openclt::kArgIn, openclt::kArgInOut, openclt::kArgBufInOut};
    openclt::OpInfo set{"rpcclt_openapiWidgetSet", 1, 3, kSetKinds};
    openclt::OpInfo get{"rpcclt_openapiWidgetGet", 1, 3, kGetKinds};
    sim::SwitchState st = sim::defaultSwitch();
    auto u32 = [](uint32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); };
    std::vector<openclt::WireArg> setArgs(3);
    setArgs[0].data = u32(5);
    setArgs[1].data = u32(77);
    setArgs[2].kind = openclt::kArgBufIn;
    setArgs[2].data = std::string("label\0junk", 10);
    for (int i = 0; i < 2; ++i)
        setArgs[i].kind = openclt::kArgIn;
    sim::Call sc{&set, setArgs, st};
    EXPECT_EQ(sim::runOp(sc), 0);
    EXPECT_TRUE(sc.changed);

    std::vector<openclt::WireArg> getArgs(3);
    getArgs[0].kind = openclt::kArgIn;
    getArgs[0].data = u32(5);
    getArgs[1].kind = openclt::kArgInOut;
    getArgs[1].data = u32(0);
    getArgs[2].kind = openclt::kArgBufInOut;
    getArgs[2].cap = 4;
    sim::Call gc{&get, getArgs, st};
    EXPECT_EQ(sim::runOp(gc), 0);
    EXPECT_EQ(gc.u32(1), 77u);
    EXPECT_EQ(gc.args[2].data, std::string("lab\0", 4));

    getArgs[0].data = u32(6);  // another key: defaults
    getArgs[1].data = u32(9);
    sim::Call other{&get, getArgs, st};
    EXPECT_EQ(sim::runOp(other), 0);
    EXPECT_EQ(other.u32(1), 0u);
}

// Registration by name compiles only for names of the catalog; a name
// registered twice would leave one of its handlers unused.
TEST(OpRegistry, EveryOperationWithCodeIsACatalogRowRegisteredOnce)
{
    std::vector<std::string> names = sim::registeredOps();
    ASSERT_GT(names.size(), 150u);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end());
    for (const std::string& n : names)
        EXPECT_NE(openclt::findOp(n), nullptr) << n;
}

TEST(Wire, EveryTruncationOfAFrameIsRefused)
{
    openclt::Request req;
    req.name = "rpcclt_openapiUserAppConfigDbGet";
    openclt::WireArg a;
    a.kind = openclt::kArgBufIn;
    a.data = "app";
    req.args = {a, a};
    std::string frame = openclt::encodeRequest(req);
    openclt::Request back;
    ASSERT_TRUE(openclt::decodeRequest(frame, &back));
    EXPECT_EQ(back.name, req.name);
    for (size_t n = 0; n < frame.size(); ++n) {
        openclt::Request r;
        EXPECT_FALSE(openclt::decodeRequest(frame.substr(0, n), &r)) << n;
    }
    EXPECT_FALSE(openclt::decodeRequest(frame + "x", &back));
}

// An answer frame as the peer may deliver it: in one write or in pieces
// (written by a child while the reader waits), large or small, followed by
// stray bytes or cut short by the end of the connection.
TEST(Wire, AnswerFrameReadWhateverTheWritesThatCarryIt)
{
    auto framed = [](const std::string& payload) {
        std::string f(4, '\0');
        uint32_t n = static_cast<uint32_t>(payload.size());
        for (int i = 0; i < 4; ++i)
            f[i] = static_cast<char>((n >> (8 * i)) & 0xff);
        return f + payload;
    };
    const std::string small = "answer";
    const std::string large(200000, 'z');
    struct Case {
        const char* what;
        std::string bytes;
        size_t piece;  // bytes per write; 0: one write
        bool ok;
        std::string payload;
    } cases[] = {
        {"one write", framed(small), 0, true, small},
        {"empty payload", framed(""), 0, true, ""},
        {"byte by byte", framed(small), 1, true, small},
        {"length split from payload", framed(small), 3, true, small},
        {"larger than one read", framed(large), 0, true, large},
        {"large in pieces", framed(large), 65536, true, large},
        {"stray bytes after the frame", framed(small) + "xy", 0, false, ""},
        {"cut inside the length", framed(small).substr(0, 2), 0, false, ""},
        {"cut inside the payload", framed(small).substr(0, 7), 0, false, ""},
        {"oversized length", std::string("\xff\xff\xff\x7f", 4), 0, false, ""},
    };
    for (const Case& c : cases) {
        int sv[2];
        ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, sv), 0);
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            close(sv[0]);
            size_t step = c.piece ? c.piece : c.bytes.size();
            for (size_t at = 0; at < c.bytes.size(); at += step) {
                size_t n = std::min(step, c.bytes.size() - at);
                if (write(sv[1], c.bytes.data() + at, n) != static_cast<ssize_t>(n))
                    _exit(1);
                if (c.piece)
                    usleep(1000);
            }
            _exit(0);
        }
        close(sv[1]);
        if (!c.ok || c.piece)
            usleep(20000);  // let every piece arrive before the read, or be read as it comes
        std::string got;
        EXPECT_EQ(openclt::recvFrame(sv[0], &got), c.ok) << c.what;
        if (c.ok) {
            EXPECT_TRUE(got == c.payload) << c.what << ": " << got.size() << " bytes";
        }
        close(sv[0]);
        int st = 0;
        waitpid(pid, &st, 0);
    }
}

}  // namespace

namespace {

TEST(SimState, SecondSimulatorLeavesRunningOneAlone)
{
    harness::Simulator first;
    ASSERT_TRUE(first.ok());
    harness::CgiResult r = harness::runProgram("switchsim", {});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(first.ctl({"ping"}), "pong\n");
}

}  // namespace
