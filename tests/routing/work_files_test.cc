// Concurrent identical requests of pathgate's CLI-backed routes: every
// request runs its show command or script in work files of its own, so none
// removes or overwrites another's, and every one leaves the work directory as
// it found it.
#include <sys/wait.h>
#include <unistd.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/answers.h"
#include "tests/support/harness.h"

namespace {

using harness::codeOf;
using harness::request;
using harness::workFiles;

const std::string kRouting = "/api/v2/routing/routing/";
const std::string kConfig = "/api/v2/routing/routing-config/";
const std::string kTable = "/api/v2/routing/ip-route-table/";
const std::string kArp = "/api/v2/routing/routing-arptable/";
const std::string kStats = "/api/v2/routing/routing-stats/";
const std::string kIp6 = "/api/v2/routing/ip6map/";
const std::string kHelper = "/api/v2/routing/iphelper/";

constexpr int kConcurrent = 30;

struct Row {
    const char* name;
    const char* method;
    std::string uri;
    const char* body;
};

void PrintTo(const Row& r, std::ostream* os) { *os << r.method << " " << r.uri; }
std::string rowName(const testing::TestParamInfo<Row>& info) { return info.param.name; }

// One request per row, each kind of work file once: the fixed show files of
// the ARP brief, the route table and lookup, the IP interface record, the
// statistics and route summaries, the per-process show files, and the script
// pairs of the ARP, IPv6 and IP helper settings.
const Row kRows[] = {
    {"ArpBriefDynamicRenew", "GET", kConfig + "rtr-ip-arp-dynamic-renew", ""},
    {"ArpBriefCacheStats", "GET", kConfig + "ip-arp-cache-stats", ""},
    {"ArpAgeTime", "GET", kArp + "arp-age-time", ""},
    {"ArpEntryInfo", "GET", kArp + "arp-entry-info?ipAddr=192.168.10.7", ""},
    {"RouteTableGetNext", "POST", kTable + "entry-get-next", "{\"routeDest\":\"\"}"},
    {"RouteTableLookup", "GET", kTable + "metric?routeDest=192.168.10.0&routeMask=255.255.255.0&routeProto=1", ""},
    {"StaticRouteNext", "GET", kRouting + "best-route-next", ""},
    {"IpIntfAddrMethod", "GET", kRouting + "rtr-intf-ip-addr-method?intf=5", ""},
    {"IpIntfRecord", "GET", kConfig + "rtr-intf-ip-proxy-arp-mode?intIfNum=5", ""},
    {"Ipv4Stats", "GET", kRouting + "rtr-ipv4-stats", ""},
    {"Ipv4RouteSummary", "GET", kStats + "ipv4-route-table-stats", ""},
    {"Ipv6RouteSummary", "GET", kStats + "num-ipv6-prefixes", ""},
    {"Ipv6Global", "GET", kIp6 + "ip6-vr-rtr-default-ttl", ""},
    {"HelperStatistics", "GET", kHelper + "statistics", ""},
    {"PutArpDynamicRenew", "PUT", kConfig + "rtr-ip-arp-dynamic-renew", "{\"dynRenewMode\":\"enable\"}"},
    {"PutIntfBandwidth", "PUT", kConfig + "if-bandwidth?ifNum=5", "{\"bandwidth\":50000}"},
    {"PutIpv6HopLimit", "PUT", kIp6 + "ip6-vr-rtr-default-ttl", "{\"val\":32}"},
    {"PutHelperMaxHops", "PUT", kHelper + "bootp-dhcp-relay-max-hop-count", "{\"maxHopCount\":8}"},
};

class ConcurrentCliRequests : public testing::TestWithParam<Row> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sim.ok());
        harness::writeAdminSession();
        // VLAN 10 as routing interface 37 with one subnet, one static route
        // and one static ARP entry on it: every view below has something to
        // answer.
        ASSERT_EQ(codeOf(request("POST", kConfig + "rtr-vlan-intf?vlanId=10")), 0);
        ASSERT_EQ(codeOf(request("POST", kConfig + "rtr-intf-ip-addr",
                                 "{\"af\":1,\"intf\":37,\"ipAddr\":\"192.168.10.1/24\"}")),
                  0);
        ASSERT_EQ(codeOf(request("POST", kRouting + "route",
                                 "{\"route\":{\"destPfx\":\"10.99.0.0\",\"pfxLen\":16},"
                                 "\"nextHops\":[{\"nhAddr\":\"192.168.10.2\",\"ifNum\":0}]}")),
                  0);
        ASSERT_EQ(codeOf(request("POST", kConfig + "ip-map-static-arp",
                                 "{\"ipAddress\":\"192.168.10.7\",\"macAddr\":\"00:1a:2b:3c:4d:5e\"}")),
                  0);
        ASSERT_EQ(workFiles(), std::vector<std::string>());
    }
    harness::Simulator sim;
};

// Runs the row kConcurrent times at once, each request in a child of its own
// that waits until all have been started; the answers in start order.
std::vector<harness::CgiResult> runAtOnce(const Row& row)
{
    int gate[2];
    if (pipe(gate) != 0)
        return {};
    std::vector<pid_t> pids;
    std::vector<int> answers;
    for (int i = 0; i < kConcurrent; ++i) {
        int out[2];
        if (pipe(out) != 0)
            break;
        pid_t pid = fork();
        if (pid == 0) {
            close(gate[1]);
            close(out[0]);
            char c;
            while (read(gate[0], &c, 1) > 0) {
            }
            harness::CgiResult r = request(row.method, row.uri, row.body);
            std::string msg = std::to_string(r.status) + "\n" + r.out;
            for (size_t off = 0; off < msg.size();) {
                ssize_t w = write(out[1], msg.data() + off, msg.size() - off);
                if (w <= 0)
                    break;
                off += static_cast<size_t>(w);
            }
            _exit(0);  // no destructors: the simulator belongs to the test
        }
        close(out[1]);
        if (pid < 0) {
            close(out[0]);
            break;
        }
        pids.push_back(pid);
        answers.push_back(out[0]);
    }
    close(gate[0]);
    close(gate[1]);  // every child starts its request now
    std::vector<harness::CgiResult> results;
    for (int fd : answers) {
        std::string msg;
        char buf[4096];
        ssize_t n;
        while ((n = read(fd, buf, sizeof buf)) > 0)
            msg.append(buf, static_cast<size_t>(n));
        close(fd);
        harness::CgiResult r;
        size_t nl = msg.find('\n');
        if (nl != std::string::npos) {
            r.status = std::stoi(msg.substr(0, nl));
            r.out = msg.substr(nl + 1);
        }
        results.push_back(r);
    }
    for (pid_t pid : pids) {
        int st;
        waitpid(pid, &st, 0);
    }
    return results;
}

TEST_P(ConcurrentCliRequests, AllAnswerAloneAndLeaveNoWorkFile)
{
    const Row& row = GetParam();
    harness::CgiResult alone = request(row.method, row.uri, row.body);
    ASSERT_EQ(codeOf(alone), 0) << alone.out;

    std::vector<harness::CgiResult> results = runAtOnce(row);
    ASSERT_EQ(results.size(), static_cast<size_t>(kConcurrent));
    int differing = 0;
    for (size_t i = 0; i < results.size(); ++i) {
        EXPECT_EQ(results[i].status, 0) << "request " << i;
        if (results[i].out != alone.out && differing++ == 0)
            ADD_FAILURE() << "request " << i << " answered\n" << results[i].out << "\ninstead of\n" << alone.out;
    }
    EXPECT_EQ(differing, 0) << "of " << kConcurrent << " requests";
    EXPECT_EQ(workFiles(), std::vector<std::string>());
}

INSTANTIATE_TEST_SUITE_P(Routes, ConcurrentCliRequests, testing::ValuesIn(kRows), rowName);

}  // namespace
