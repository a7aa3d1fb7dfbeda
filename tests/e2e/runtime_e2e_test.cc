// The request path of the real programs: sessions, dispatch outcomes, the
// process log, and the client registration's wait for the switch.
#include <gtest/gtest.h>
#include <time.h>

#include <regex>
#include <string>

#include "runtime/log.h"
#include "tests/support/harness.h"

namespace {

using harness::CgiRequest;
using harness::CgiResult;
using harness::readFile;

const std::string kForbidden = "Status:403\r\n\r\n";

CgiRequest stubGet(const std::string& session = "admin-1")
{
    CgiRequest r;
    r.uri = "/api/v2/routing/bgp-config/local-as";
    r.session = session;
    return r;
}

CgiRequest stubPut(const std::string& session)
{
    CgiRequest r = stubGet(session);
    r.method = "PUT";
    r.body = "{}";
    return r;
}

class RequestPath : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(sim.ok()); }
    std::string log() { return readFile(logtest::kLogFile); }
    harness::Simulator sim;
};

TEST_F(RequestPath, AdminStubAnswersEnvelopeAndRefreshesSession)
{
    // A recent stamp, whatever the machine's uptime: the session is live.
    harness::writeSession("admin-1", "admin\n" + std::to_string(harness::uptimeSeconds() - 5) + "\n");
    long before = harness::uptimeSeconds();
    CgiResult r = harness::runCgi(stubGet());
    long after = harness::uptimeSeconds();
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, std::string(harness::kJsonHeader) + harness::kStubEnvelope);
    std::string file = readFile("/tmp/session/admin-1");
    EXPECT_TRUE(file == "admin\n" + std::to_string(before) + "\nadmin-1" ||
                file == "admin\n" + std::to_string(after) + "\nadmin-1")
        << file;
}

TEST_F(RequestPath, UserSessionRefreshKeepsPrivilegeLine)
{
    long now = harness::uptimeSeconds();
    harness::writeSession("u-1", "carol\n" + std::to_string(now - 10) + "\nrw\n");
    CgiResult r = harness::runCgi(stubPut("u-1"));
    EXPECT_EQ(r.out, std::string(harness::kJsonHeader) + harness::kStubEnvelope + "\n");
    std::string after = readFile("/tmp/session/u-1");
    EXPECT_TRUE(std::regex_match(after, std::regex("carol\n[0-9]+\nrw\nu-1"))) << after;
}

TEST_F(RequestPath, RefreshHeaderLeavesSessionFileAsItWas)
{
    const std::string content = "admin\n" + std::to_string(harness::uptimeSeconds() - 5) + "\n";
    harness::writeSession("admin-1", content);
    for (const char* marker : {"", "1"}) {
        CgiRequest req = stubGet();
        req.refreshPresent = true;
        req.refresh = marker;
        CgiResult r = harness::runCgi(req);
        EXPECT_EQ(r.out, std::string(harness::kJsonHeader) + harness::kStubEnvelope);
        EXPECT_EQ(readFile("/tmp/session/admin-1"), content);
    }
}

struct RefusalCase {
    const char* name;
    const char* content;  // nullptr: no session file
    const char* method;
    const char* logged;
    friend void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.name; }
};

class Refusals : public RequestPath, public testing::WithParamInterface<RefusalCase> {};

TEST_P(Refusals, AnswerStatus403AndLogWhy)
{
    const RefusalCase& c = GetParam();
    long now = harness::uptimeSeconds();
    std::string content = c.content ? std::regex_replace(c.content, std::regex("NOW-7300"), std::to_string(now - 7300))
                                    : "";
    if (c.content)
        harness::writeSession("s-1", content);
    CgiRequest req = stubGet("s-1");
    req.method = c.method;
    if (req.method != "GET")
        req.body = "{}";
    if (req.method == "POST")
        req.uri = "/api/v2/routing/bgp-config/ipv4-route-max";
    CgiResult r = harness::runCgi(req);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, kForbidden);
    std::string text = log();
    EXPECT_NE(text.find(c.logged), std::string::npos) << text;
    EXPECT_NE(text.find("(ERROR): oxel_cgi: [httpdProcessRequest:"), std::string::npos);
    EXPECT_NE(text.find("] 403 Forbidden\n"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Sessions, Refusals,
    testing::Values(RefusalCase{"Missing", nullptr, "GET", "403 Forbidden"},
                    RefusalCase{"Expired", "admin\nNOW-7300\n", "GET", "Token timeout("},
                    RefusalCase{"ReadOnlyWriting", "dave\n0\nro\n", "PUT", "Permission denied, not a priviledged user"},
                    RefusalCase{"ReadOnlyPosting", "dave\n0\nro\n", "POST", "Permission denied, not a priviledged user"},
                    RefusalCase{"MalformedPrivilege", "dave\n0\nsuper\n", "GET", "Invalid priviledged level"},
                    RefusalCase{"EmptyFile", "", "GET", "Invalid priviledged level"}),
    [](const testing::TestParamInfo<RefusalCase>& i) { return std::string(i.param.name); });

TEST_F(RequestPath, ExpiredSessionFileIsDeleted)
{
    long now = harness::uptimeSeconds();
    harness::writeSession("old", "admin\n" + std::to_string(now - 8000) + "\n");
    EXPECT_EQ(harness::runCgi(stubGet("old")).out, kForbidden);
    EXPECT_FALSE(harness::fileExists("/tmp/session/old"));
}

TEST_F(RequestPath, ReadOnlyUserMayRead)
{
    harness::writeSession("ro-1", "erin\n0\nro\n");
    EXPECT_EQ(harness::runCgi(stubGet("ro-1")).out, std::string(harness::kJsonHeader) + harness::kStubEnvelope);
}

TEST_F(RequestPath, SessionIdentifierNeverLeavesSessionDirectory)
{
    harness::writeFile("/tmp/forged", "admin\n0\n");
    harness::writeAdminSession("real");
    for (const char* id : {"../forged", "/tmp/forged", "..", ".", "", "real/../../forged"}) {
        CgiRequest req = stubGet(id);
        EXPECT_EQ(harness::runCgi(req).out, kForbidden) << id;
    }
    EXPECT_EQ(readFile("/tmp/forged"), "admin\n0\n");
    CgiRequest absent = stubGet();
    absent.sessionAbsent = true;
    EXPECT_EQ(harness::runCgi(absent).out, kForbidden);
}

TEST_F(RequestPath, PathWithoutSlashIsInvalid)
{
    harness::writeAdminSession();
    CgiRequest req = stubGet();
    req.uri = "local-as";
    CgiResult r = harness::runCgi(req);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "Invalid request path 'local-as'\n");
}

struct UnmatchedCase {
    const char* name;
    const char* program;
    const char* method;
    const char* uri;
    const char* logged;
    friend void PrintTo(const UnmatchedCase& c, std::ostream* os) { *os << c.name; }
};

class Unmatched : public RequestPath, public testing::WithParamInterface<UnmatchedCase> {};

TEST_P(Unmatched, ExitZeroNoOutputAndLogLine)
{
    const UnmatchedCase& c = GetParam();
    harness::writeAdminSession();
    CgiRequest req = stubGet();
    req.program = c.program;
    req.method = c.method;
    req.uri = c.uri;
    CgiResult r = harness::runCgi(req);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(log().find(c.logged), std::string::npos) << log();
}

INSTANTIATE_TEST_SUITE_P(
    Routes, Unmatched,
    testing::Values(
        UnmatchedCase{"UnknownLeaf", "pathgate", "GET", "/api/v2/routing/bgp-config/no-such-leaf",
                      "method not found:/api/v2/routing/bgp-config/no-such-leaf\nbgp-config\nno-such-leaf\n"},
        UnmatchedCase{"LeafCase", "pathgate", "GET", "/api/v2/routing/bgp-config/Local-As",
                      "method not found:/api/v2/routing/bgp-config/Local-As\nbgp-config\nLocal-As\n"},
        UnmatchedCase{"MethodNotRegistered", "pathgate", "POST", "/api/v2/routing/bgp-config/local-as",
                      "method not found:"},
        UnmatchedCase{"OtherProgramsDomain", "pathgate", "GET", "/api/v2/mcast/mvr/group-ip",
                      "method not found:/api/v2/mcast/mvr/group-ip\nmvr\ngroup-ip\n"},
        UnmatchedCase{"TrailingSlash", "coregate", "GET", "/api/v2/system/issu/", "method not found:"}),
    [](const testing::TestParamInfo<UnmatchedCase>& i) { return std::string(i.param.name); });

TEST_F(RequestPath, LevelFileDecidesWhatIsLogged)
{
    harness::writeAdminSession();
    harness::runCgi(stubGet());
    EXPECT_EQ(readFile(logtest::kLevelFile), std::string("6\0\0\0", 4));
    EXPECT_EQ(log().find("(DEBUG)"), std::string::npos);
    harness::writeFile(logtest::kLevelFile, "7\0\0\0");
    harness::runCgi(stubGet());
    std::string text = log();
    EXPECT_TRUE(std::regex_search(text, std::regex(R"(\(DEBUG\): oxel_cgi: \[initHandler:\d+\] Register RPC to OpEN )"
                                                   R"(success\. \(client name = pathgate\.cgi_\d+\)\n)")));
    EXPECT_NE(text.find("] Network OS Version = 4.1.2.7\n"), std::string::npos);
    EXPECT_NE(text.find("] Open API Version = 1.26.0.3\n"), std::string::npos);
    EXPECT_NE(text.find("(DEBUG): oxel_cgi: [checkSessionX:"), std::string::npos);
    harness::writeFile(logtest::kLevelFile, "2\0\0\0");
    harness::writeFile(logtest::kLogFile, "");
    harness::runCgi(stubGet("missing"));
    EXPECT_EQ(log(), "");
}

TEST_F(RequestPath, LogRotatesAtOneMebibyte)
{
    harness::writeFile(logtest::kLogFile, std::string(logtest::kRotateBytes - 10, '.'));
    harness::runCgi(stubGet("missing"));  // logs the 403 line at level 3
    std::string old = readFile(logtest::kOldLogFile);
    EXPECT_EQ(old.size() > static_cast<size_t>(logtest::kRotateBytes), true);
    EXPECT_NE(old.find("403 Forbidden"), std::string::npos);
    EXPECT_EQ(log(), "");
    harness::runCgi(stubGet("missing"));
    EXPECT_NE(log().find("403 Forbidden"), std::string::npos);
}

TEST_F(RequestPath, SwitchAnsweringAtThirdCheck)
{
    harness::writeAdminSession();
    sim.ctl({"connfail", "2"});
    time_t start = time(nullptr);
    CgiResult r = harness::runCgi(stubGet());
    EXPECT_GE(time(nullptr) - start, 5);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, std::string(harness::kJsonHeader) + harness::kStubEnvelope);
    std::string text = log();
    std::regex retry(R"(\(WARN\): oxel_cgi: \[initHandler:\d+\] RPC call can fail until server starts\. Keep trying \(result = -1\)\n)");
    EXPECT_EQ(std::distance(std::sregex_iterator(text.begin(), text.end(), retry), std::sregex_iterator()), 2);
}

class NoSwitch : public testing::Test {};

TEST_F(NoSwitch, NeverAnsweringServerExits255Silently)
{
    harness::writeAdminSession();
    time_t start = time(nullptr);
    CgiResult r = harness::runCgi(stubGet());
    EXPECT_GE(time(nullptr) - start, 17);
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.out, "");
    std::string text = readFile(logtest::kLogFile);
    std::regex retry(R"(\] RPC call can fail until server starts\. Keep trying)");
    EXPECT_EQ(std::distance(std::sregex_iterator(text.begin(), text.end(), retry), std::sregex_iterator()), 6);
    EXPECT_EQ(readFile("/tmp/session/admin-1"), "admin\n0\n");
}

TEST_F(NoSwitch, UnreachableServerExits255Silently)
{
    harness::Simulator sim;
    ASSERT_TRUE(sim.ok());
    sim.ctl({"unreachable"});
    harness::writeAdminSession();
    CgiResult r = harness::runCgi(stubGet());
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.out, "");
}

}  // namespace
