// coregate's four logging directories against the simulated switch: every
// route of the API registered; the CLI settings written and read back; one
// "show logging" read alike by every view of it; control API settings seen
// by the CLI views and CLI settings by the control API; syslog hosts; the
// buffered log written, walked (bounded, on a log read round and round) and
// cleared; the trap log; refused values that change nothing, reach no CLI
// and leave no work file.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "runtime/route_tree.h"
#include "sim/model_logging.h"
#include "sim/state.h"
#include "system/handlers.h"
#include "tests/support/answers.h"
#include "tests/support/harness.h"
#include "tests/support/route_list.h"

namespace {

using harness::callsTo;
using harness::codeOf;
using harness::dataOf;

const std::string kLog = "/api/v2/system/logging/";

// A request of coregate: `path` below the logging directory, with its query after "?".
harness::CgiResult core(const std::string& method, const std::string& path, const std::string& body = "")
{
    return harness::requestIn("coregate", kLog, method, path, body);
}

std::string data(const std::string& path)
{
    harness::CgiResult r = core("GET", path);
    EXPECT_EQ(codeOf(r), 0) << path << "\n" << r.out;
    EXPECT_NE(r.out.back(), '\n') << path;
    return dataOf(r, "logging");
}

int write(const std::string& method, const std::string& path, const std::string& body)
{
    harness::CgiResult r = core(method, path, body);
    EXPECT_EQ(r.out.back(), '\n') << path;
    return codeOf(r);
}

// A member of an answer's data object, printed unformatted ("" when absent).
std::string memberOf(const std::string& obj, const char* name)
{
    harness::Json j(obj);
    const cJSON* m = j.root ? cJSON_GetObjectItemCaseSensitive(j.root, name) : nullptr;
    if (!m)
        return "";
    char* t = cJSON_PrintUnformatted(m);
    std::string s = t ? t : "";
    free(t);
    return s;
}

int cliCalls(harness::Simulator& sim)
{
    return callsTo(sim, "openapiCliShowExecuteToFile") + callsTo(sim, "openapiTxtCfgApply");
}

TEST(LoggingRoutes, EveryLoggingRouteOfTheApiIsRegistered)
{
    using Key = std::tuple<std::string, std::string, std::string, std::string>;
    std::set<Key> rows;
    for (size_t i = 0; i < coregate::kRowCount; ++i) {
        const hf::RowInfo& r = coregate::kRows[i];
        rows.insert(Key{r.dir->path, r.leaf, methodText(r.method), r.handler});
    }
    size_t n = 0;
    for (const harness::ListedRoute& l : harness::routeList()) {
        if (l.dir.rfind("/api/v2/system/logging", 0) != 0)
            continue;
        ++n;
        bool found = false;
        for (const Key& k : rows)
            found = found || (std::get<0>(k) == l.dir && std::get<1>(k) == l.leaf && std::get<2>(k) == l.method &&
                              (l.handler == "-" || std::get<3>(k) == l.handler));
        EXPECT_TRUE(found) << l.method << " " << l.dir << "/" << l.leaf << " " << l.handler;
    }
    EXPECT_EQ(n, 68u);
}

class Logging : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sim.ok());
        harness::writeAdminSession();
    }
    harness::Simulator sim;
};

// Every CLI setting, written and read back.
struct CliCase {
    const char* method;
    const char* path;
    const char* body;
    const char* get;
    const char* want;
};

const CliCase kCliCases[] = {
    {"PUT", "buffered-log-mode", "{\"mode\":\"DISABLE\"}", "buffered-log-mode", "{\"mode\":\"disable\"}"},
    {"PUT", "buffered-log-mode", "{\"mode\":\"enable\"}", "buffered-log-mode", "{\"mode\":\"enable\"}"},
    {"PUT", "buffered-log-severity-filter", "{\"severity\":0}", "buffered-log-severity-filter", "{\"severity\":0}"},
    {"PUT", "buffered-log-severity-filter", "{\"severity\":7}", "buffered-log-severity-filter", "{\"severity\":7}"},
    {"PUT", "buffered-log-behavior", "{\"mode\":\"disable\"}", "buffered-log-behavior", "{\"mode\":\"disable\"}"},
    {"PUT", "buffered-log-behavior", "{\"mode\":\"ENABLE\"}", "buffered-log-behavior", "{\"mode\":\"enable\"}"},
    {"PUT", "protocol", "{\"protocol\":1}", "protocol", "{\"protocol\":1}"},
    {"PUT", "protocol", "{\"protocol\":0}", "protocol", "{\"protocol\":0}"},
    {"PUT", "buffered/threshold", "{\"threshold\":100}", "buffered/threshold", "{\"threshold\":100}"},
    {"PUT", "buffered/threshold", "{\"threshold\":0}", "buffered/threshold", "{\"threshold\":0}"},
    {"POST", "syslog/source-interface", "{\"interface\":\"1/0/5\"}", "syslog/source-interface",
     "{\"interface\":\"1/0/5\"}"},
    {"POST", "syslog/source-interface", "{\"interface\":\"0/7\"}", "syslog/source-interface",
     "{\"interface\":\"1/0/7\"}"},
    {"DELETE", "syslog/source-interface", "", "syslog/source-interface", "{\"interface\":\"none\"}"},
    {"PUT", "traps/severity", "{\"severity\":7}", "traps/severity", "{\"severity\":7}"},
    {"PUT", "traps/severity", "{\"severity\":0}", "traps/severity", "{\"severity\":0}"},
};

TEST_F(Logging, EveryCliSettingIsReadBack)
{
    for (const CliCase& c : kCliCases) {
        SCOPED_TRACE(std::string(c.path) + " " + c.body);
        EXPECT_EQ(write(c.method, c.path, c.body), 0);
        EXPECT_EQ(data(c.get), c.want);
    }
}

// A running configuration without a "logging traps" line is the default, 5.
TEST_F(Logging, TrapSeverityFollowsTheRunningConfiguration)
{
    EXPECT_EQ(data("traps/severity"), "{\"severity\":5}");
    ASSERT_EQ(write("PUT", "traps/severity", "{\"severity\":3}"), 0);
    EXPECT_EQ(data("traps/severity"), "{\"severity\":3}");
    ASSERT_EQ(write("PUT", "traps/severity", "{\"severity\":5}"), 0);
    EXPECT_EQ(data("traps/severity"), "{\"severity\":5}");
}

// Refused before any CLI text is written: nothing applied, nothing changed.
struct Refused {
    const char* method;
    const char* path;
    const char* body;
};

const Refused kRefused[] = {
    {"PUT", "traps/severity", "{\"severity\":8}"},
    {"PUT", "traps/severity", "{\"severity\":-1}"},
    {"PUT", "traps/severity", "{\"severity\":\"3\"}"},
    {"PUT", "traps/severity", "{}"},
    {"PUT", "traps/severity", "severity=3"},
    {"PUT", "buffered-log-severity-filter", "{\"severity\":8}"},
    {"PUT", "buffered-log-severity-filter", "{\"severity\":-1}"},
    {"PUT", "buffered-log-severity-filter", "{\"severity\":1e10}"},
    {"PUT", "buffered/threshold", "{\"threshold\":101}"},
    {"PUT", "buffered/threshold", "{\"threshold\":-1}"},
    {"PUT", "protocol", "{\"protocol\":2}"},
    {"PUT", "protocol", "{\"protocol\":-1}"},
    {"PUT", "buffered-log-mode", "{\"mode\":\"on\"}"},
    {"PUT", "buffered-log-mode", "{\"mode\":1}"},
    {"PUT", "buffered-log-behavior", "{\"mode\":\"on\"}"},
    {"POST", "syslog/source-interface", "{\"interface\":\"1/0/5\\nlogging traps 1\"}"},
    {"POST", "syslog/source-interface", "{\"interface\":\"1/0/5\\rlogging traps 1\"}"},
    {"POST", "syslog/source-interface", "{\"interface\":\"vlan 1\"}"},
    {"POST", "syslog/source-interface", "{\"interface\":\"1/0/5\\tx\"}"},
    {"POST", "syslog/source-interface", "{\"interface\":\"\"}"},
    {"POST", "syslog/source-interface", "{\"interface\":5}"},
    {"POST", "syslog/source-interface", "{}"},
};

TEST_F(Logging, ValuesOutOfRangeAndUnsafeTextsReachNoCli)
{
    ASSERT_EQ(write("POST", "syslog/source-interface", "{\"interface\":\"1/0/3\"}"), 0);
    const std::string before = data("status");
    int calls = cliCalls(sim);
    ASSERT_GE(calls, 2);  // the show and the script of the setting above
    std::string longName(300, 'x');
    std::vector<Refused> cases(std::begin(kRefused), std::end(kRefused));
    std::string longBody = "{\"interface\":\"" + longName + "\"}";
    cases.push_back(Refused{"POST", "syslog/source-interface", longBody.c_str()});
    for (const Refused& c : cases) {
        harness::CgiResult r = core(c.method, c.path, c.body);
        EXPECT_EQ(codeOf(r), 10003) << c.path << " " << c.body << "\n" << r.out;
    }
    EXPECT_EQ(cliCalls(sim), calls);
    EXPECT_EQ(data("status"), before);
    EXPECT_EQ(data("traps/severity"), "{\"severity\":5}");
}

// A line the CLI refuses answers 10003 and changes nothing.
TEST_F(Logging, ALineTheCliRefusesIsAFailure)
{
    ASSERT_EQ(write("POST", "syslog/source-interface", "{\"interface\":\"1/0/3\"}"), 0);
    for (const char* name : {"9/9/9", "1/0/99", "lag", "vlan"})
        EXPECT_EQ(write("POST", "syslog/source-interface", std::string("{\"interface\":\"") + name + "\"}"), 10003)
            << name;
    EXPECT_EQ(data("syslog/source-interface"), "{\"interface\":\"1/0/3\"}");
}

// One "show logging" read alike by every view: the single views and the
// status composite, under each label a value has.
TEST_F(Logging, EveryViewReadsTheSameShowLogging)
{
    ASSERT_EQ(write("PUT", "buffered/threshold", "{\"threshold\":42}"), 0);
    ASSERT_EQ(write("PUT", "protocol", "{\"protocol\":1}"), 0);
    ASSERT_EQ(write("PUT", "buffered-log-severity-filter", "{\"severity\":2}"), 0);
    ASSERT_EQ(write("PUT", "buffered-log-mode", "{\"mode\":\"disable\"}"), 0);
    ASSERT_EQ(write("POST", "syslog/source-interface", "{\"interface\":\"1/0/9\"}"), 0);
    EXPECT_EQ(data("buffered/threshold"), "{\"threshold\":42}");
    EXPECT_EQ(data("protocol"), "{\"protocol\":1}");
    EXPECT_EQ(data("buffered-log-severity-filter"), "{\"severity\":2}");
    EXPECT_EQ(data("buffered-log-mode"), "{\"mode\":\"disable\"}");
    std::string s = data("status");
    EXPECT_EQ(memberOf(s, "bufferedThreshold"), "42") << s;
    EXPECT_EQ(memberOf(s, "loggingProtocol"), "1") << s;
    EXPECT_EQ(memberOf(s, "bufferedSeverity"), "\"critical\"") << s;
    EXPECT_EQ(memberOf(s, "bufferedLogging"), "false") << s;
    EXPECT_EQ(memberOf(s, "sourceInterface"), "\"1/0/9\"") << s;
    EXPECT_EQ(memberOf(data("buffered-log"), "enabled"), "false");
}

// Control API settings read through the CLI views, and the reverse.
TEST_F(Logging, ControlApiAndCliSeeOneSwitch)
{
    ASSERT_EQ(write("PUT", "console-logging-severity", "{\"severity\":5}"), 0);
    ASSERT_EQ(write("PUT", "console-logging-mode", "{\"mode\":\"disable\"}"), 0);
    ASSERT_EQ(write("PUT", "cli-cmd-logging-mode", "{\"mode\":\"enable\"}"), 0);
    ASSERT_EQ(write("PUT", "sys-log-mode", "{\"mode\":\"enable\"}"), 0);
    ASSERT_EQ(write("PUT", "sys-log-port", "{\"port\":1514}"), 0);
    std::string s = data("status");
    EXPECT_EQ(memberOf(s, "consoleSeverity"), "\"notice\"") << s;
    EXPECT_EQ(memberOf(s, "consoleLogging"), "false") << s;
    EXPECT_EQ(memberOf(s, "cliCommandLogging"), "true") << s;
    EXPECT_EQ(memberOf(s, "syslogLogging"), "true") << s;
    EXPECT_EQ(memberOf(s, "clientLocalPort"), "1514") << s;
    EXPECT_EQ(memberOf(data("host"), "mode"), "\"enable\"");
    EXPECT_EQ(data("console-logging-severity"), "{\"severity\":5}");
    EXPECT_EQ(data("console-logging-mode"), "{\"mode\":\"disable\"}");
    EXPECT_EQ(data("sys-log-port"), "{\"port\":1514}");
    // The switch refuses what it cannot take.
    EXPECT_EQ(write("PUT", "console-logging-severity", "{\"severity\":8}"), 10003);
    EXPECT_EQ(write("PUT", "sys-log-port", "{\"port\":0}"), 10003);
    EXPECT_EQ(write("PUT", "sys-log-mode", "{\"mode\":\"on\"}"), 10003);
    EXPECT_EQ(data("sys-log-port"), "{\"port\":1514}");
}

TEST_F(Logging, HostsAreAddedSetWalkedAndRemoved)
{
    EXPECT_EQ(data("max-logging-hosts-supported"), "{\"maxLoggingHosts\":8}");
    EXPECT_EQ(data("host-max-addr-len"), "{\"logHostMaxAddrLen\":63}");
    EXPECT_EQ(codeOf(core("GET", "host-ip-addr-next")), 10023);
    EXPECT_EQ(data("host"), "{\"mode\":\"disable\",\"hosts\":[]}");

    ASSERT_EQ(write("POST", "host", "{\"host\":\"192.0.2.10\",\"port\":1514,\"severity\":4}"), 0);
    // Added again: already there counts as added, and the port is set anew.
    ASSERT_EQ(write("POST", "host", "{\"host\":\"192.0.2.10\",\"port\":1515}"), 0);
    ASSERT_EQ(write("POST", "host", "{\"host\":\"logs.example\"}"), 0);
    EXPECT_EQ(data("host-port?loggingHost=192.0.2.10"), "{\"port\":1515}");
    EXPECT_EQ(data("host-severity?loggingHost=192.0.2.10"), "{\"severityLevel\":4}");
    EXPECT_EQ(data("host-port?loggingHost=logs.example"), "{\"port\":514}");
    ASSERT_EQ(write("PUT", "host-port", "{\"loggingHost\":\"logs.example\",\"port\":6514}"), 0);
    ASSERT_EQ(write("PUT", "host-severity", "{\"loggingHost\":\"logs.example\",\"severityLevel\":7}"), 0);
    EXPECT_EQ(write("PUT", "host-severity", "{\"loggingHost\":\"logs.example\",\"severityLevel\":8}"), 10003);
    EXPECT_EQ(write("PUT", "host-port", "{\"loggingHost\":\"198.51.100.1\",\"port\":7}"), 10023);
    EXPECT_EQ(data("host"),
              "{\"mode\":\"disable\",\"hosts\":[{\"host\":\"192.0.2.10\",\"severity\":\"warning\",\"port\":1515,"
              "\"status\":\"Active\",\"mode\":\"udp\"},{\"host\":\"logs.example\",\"severity\":\"debug\","
              "\"port\":6514,\"status\":\"Active\",\"mode\":\"udp\"}]}");

    EXPECT_EQ(data("host-ip-addr-next"), "{\"loggingHost\":\"192.0.2.10\"}");
    EXPECT_EQ(data("host-ip-addr-next?loggingHost=192.0.2.10"), "{\"loggingHost\":\"logs.example\"}");
    EXPECT_EQ(codeOf(core("GET", "host-ip-addr-next?loggingHost=logs.example")), 10023);

    EXPECT_EQ(write("DELETE", "host?host=192.0.2.10", ""), 0);
    EXPECT_EQ(write("DELETE", "host?host=192.0.2.10", ""), 10023);
    EXPECT_EQ(codeOf(core("GET", "host-port?loggingHost=192.0.2.10")), 10023);
    EXPECT_EQ(data("host-ip-addr-next"), "{\"loggingHost\":\"logs.example\"}");
}

// Hosts, ports and severities the switch cannot take are refused before
// any switch call; a host the switch refuses is a failure.
TEST_F(Logging, BadHostsChangeNothing)
{
    int adds = callsTo(sim, "rpcclt_openapiLoggingHostAdd");
    const std::vector<std::string> bodies = {
        "{\"host\":\"192.0.2.1\",\"port\":0}",       "{\"host\":\"192.0.2.1\",\"port\":65536}",
        "{\"host\":\"192.0.2.1\",\"severity\":8}",   "{\"host\":\"192.0.2.1\",\"severity\":-1}",
        "{\"host\":\"192.0.2.1\",\"port\":\"514\"}", "{\"host\":\"bad host\"}",
        "{\"host\":\"a\\nb\"}",                      "{\"host\":\"\"}",
        "{\"host\":5}",                              "{}",
        "{\"host\":\"" + std::string(256, 'a') + "\"}", "not json",
    };
    for (const std::string& b : bodies)
        EXPECT_EQ(write("POST", "host", b), 10003) << b;
    EXPECT_EQ(callsTo(sim, "rpcclt_openapiLoggingHostAdd"), adds);
    // Past the switch's own limit of 63 characters: the switch refuses it.
    EXPECT_EQ(write("POST", "host", "{\"host\":\"" + std::string(64, 'a') + "\"}"), 10000);
    EXPECT_EQ(data("host"), "{\"mode\":\"disable\",\"hosts\":[]}");
    EXPECT_EQ(callsTo(sim, "rpcclt_openapiLoggingHostAdd"), adds + 1);
}

TEST_F(Logging, MessagesWrittenAreBufferedAndCleared)
{
    ASSERT_EQ(write("POST", "sys-log-write", "{\"logMessage\":\"link up\",\"severityLevel\":3}"), 0);
    ASSERT_EQ(write("POST", "sys-log-write", "{\"logMessage\":\"debugging\",\"severityLevel\":7}"), 0);  // filtered
    ASSERT_EQ(write("POST", "sys-log-write", "{\"logMessage\":\"fan ok\",\"severityLevel\":6}"), 0);
    EXPECT_EQ(write("POST", "sys-log-write", "{\"logMessage\":\"x\",\"severityLevel\":8}"), 10003);
    EXPECT_EQ(write("POST", "sys-log-write", "{\"logMessage\":\"a\\nb\",\"severityLevel\":1}"), 10003);
    EXPECT_EQ(data("buffered-log"), "{\"enabled\":true,\"wrapBehavior\":\"wrap-on-full\",\"logCount\":2,"
                                    "\"logs\":[\"<11> [1] link up\",\"<14> [2] fan ok\"]}");
    EXPECT_EQ(data("buffered-log-entry-next"), "{\"logIndex\":1,\"logEntry\":\"<11> [1] link up\"}");
    EXPECT_EQ(data("buffered-log-entry-next?logIndex=1"), "{\"logIndex\":2,\"logEntry\":\"<14> [2] fan ok\"}");
    EXPECT_EQ(codeOf(core("GET", "buffered-log-entry-next?logIndex=2")), 10023);
    std::string s = data("status");
    EXPECT_EQ(memberOf(s, "messagesReceived"), "3") << s;
    EXPECT_EQ(memberOf(s, "bufferedLogCount"), "2") << s;

    ASSERT_EQ(write("DELETE", "buffered-log", ""), 0);
    EXPECT_EQ(data("buffered-log"), "{\"enabled\":true,\"wrapBehavior\":\"wrap-on-full\",\"logCount\":0,\"logs\":[]}");
    EXPECT_EQ(codeOf(core("GET", "buffered-log-entry-next")), 10023);
}

TEST_F(Logging, TheTrapLogIsReadCountedAndCleared)
{
    EXPECT_EQ(data("trap-log-capacity"), "{\"trapsLogsCapacity\":64}");
    EXPECT_EQ(data("trap-log-number-of-traps-since-last-reset"), "{\"numTrapsSinceLastReset\":1}");
    EXPECT_EQ(data("trap-log-number-of-traps-since-last-viewed"), "{\"numTrapsSinceLastViewed\":1}");
    std::string t = data("trap-log");
    EXPECT_EQ(memberOf(t, "index"), "1") << t;
    EXPECT_EQ(memberOf(t, "trapsSinceReset"), "1") << t;
    EXPECT_EQ(memberOf(t, "capacity"), "64") << t;
    EXPECT_NE(t.find("\"trap\":\"Cold Start: Unit: 1\""), std::string::npos) << t;
    // Reading the log views it.
    EXPECT_EQ(data("trap-log-number-of-traps-since-last-viewed"), "{\"numTrapsSinceLastViewed\":0}");
    ASSERT_EQ(write("DELETE", "trap-log", ""), 0);
    EXPECT_EQ(data("trap-log"), "{\"index\":0,\"trapsSinceReset\":0,\"capacity\":64,\"logs\":[]}");
    EXPECT_EQ(data("trap-log-number-of-traps-since-last-reset"), "{\"numTrapsSinceLastReset\":0}");
}

// A state file of the simulated switch whose buffered log holds `writes`
// messages in a ring of `capacity` entries.
std::string bufferedState(uint32_t capacity, uint32_t writes, const char* path)
{
    sim::SwitchState st = sim::defaultSwitch();
    st.logging.buffered.capacity = capacity;
    for (uint32_t i = 1; i <= writes; ++i)
        sim::logMessage(st.logging, 6, "message " + std::to_string(i));
    harness::writeFile(path, sim::stateText(st));
    return path;
}

// A full log is read round and round by the switch: the walk ends where the
// index does not advance, with every entry once, oldest first.
TEST(LoggingBufferedWalk, AWrappedLogIsReadOnce)
{
    harness::writeAdminSession();
    harness::Simulator sim({"--state", bufferedState(16, 20, "/tmp/wrapped.json")});
    ASSERT_TRUE(sim.ok());
    std::string d = data("buffered-log");
    harness::Json j(d);
    ASSERT_TRUE(j.root) << d;
    const cJSON* logs = cJSON_GetObjectItem(j.root, "logs");
    ASSERT_EQ(cJSON_GetArraySize(logs), 16) << d;
    EXPECT_STREQ(cJSON_GetArrayItem(logs, 0)->valuestring, "<14> [5] message 5");
    EXPECT_STREQ(cJSON_GetArrayItem(logs, 15)->valuestring, "<14> [20] message 20");
    EXPECT_EQ(memberOf(d, "logCount"), "16");
    // The switch itself goes round: after the newest comes the oldest.
    EXPECT_EQ(data("buffered-log-entry-next?logIndex=16"), "{\"logIndex\":1,\"logEntry\":\"<14> [5] message 5\"}");
}

TEST(LoggingBufferedWalk, AtMost2048EntriesAreRead)
{
    harness::writeAdminSession();
    harness::Simulator sim({"--state", bufferedState(3000, 2500, "/tmp/long.json")});
    ASSERT_TRUE(sim.ok());
    std::string d = data("buffered-log");
    harness::Json j(d);
    ASSERT_TRUE(j.root);
    const cJSON* logs = cJSON_GetObjectItem(j.root, "logs");
    ASSERT_EQ(cJSON_GetArraySize(logs), 2048);
    EXPECT_STREQ(cJSON_GetArrayItem(logs, 2047)->valuestring, "<14> [2048] message 2048");
    EXPECT_EQ(memberOf(d, "logCount"), "2500");
}

// The settings outlive the simulator through its state file.
TEST(LoggingState, SettingsAreKeptInTheStateFile)
{
    harness::writeAdminSession();
    const std::vector<std::string> args = {"--state", "/tmp/logging.json"};
    {
        harness::Simulator sim(args);
        ASSERT_TRUE(sim.ok());
        EXPECT_EQ(write("PUT", "traps/severity", "{\"severity\":2}"), 0);
        EXPECT_EQ(write("PUT", "buffered-log-behavior", "{\"mode\":\"disable\"}"), 0);
        EXPECT_EQ(write("POST", "host", "{\"host\":\"192.0.2.7\",\"port\":601}"), 0);
        EXPECT_EQ(write("POST", "sys-log-write", "{\"logMessage\":\"kept\",\"severityLevel\":0}"), 0);
        sim.stop();
    }
    harness::Simulator sim(args);
    ASSERT_TRUE(sim.ok());
    EXPECT_EQ(data("traps/severity"), "{\"severity\":2}");
    EXPECT_EQ(data("buffered-log-behavior"), "{\"mode\":\"disable\"}");
    EXPECT_EQ(data("host-port?loggingHost=192.0.2.7"), "{\"port\":601}");
    EXPECT_EQ(memberOf(data("buffered-log"), "logs"), "[\"<8> [1] kept\"]");
}

}  // namespace
