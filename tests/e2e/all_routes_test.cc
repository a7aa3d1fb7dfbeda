// Every route of the three programs, run as the web server runs it against a
// live switchsim, with no input at all and with hostile input: each answers
// the JSON header and exactly one JSON document, ends normally and leaves no
// work file behind (but the support file, which its route makes).
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/support/answers.h"
#include "tests/support/harness.h"
#include "tests/support/route_list.h"

namespace {

// Query values that stand for nothing they name: line breaks that would
// start CLI lines of their own, numbers beyond 32 bits, negative numbers,
// texts longer than any buffer, and address and interface names out of shape.
const std::string kHostileQuery =
    "family=2&intIfNum=4294967296&ifNum=1%0Aexit&vlanId=-1&vlan=99999&groupIp=239.1.1.1%0Ashow"
    "&sourceIp=" + std::string(300, '9') + "&srcIp=..&vidMac=zz&nextProt=%00&unit=-7&fanNum=18446744073709551617"
    "&sensorNum=x&counterType=%0D%0A&offset=-5&limit=99999999999&host=a%20b&loggingHost=;&logIndex=4294967295"
    "&ipAddr=1.2.3.4.5&routeDest=::::&routeMask=255.0.255.0&protoId=9&imageLabel=../../etc&templateId=\n";

// A body of the same kind: every member a route might read, each of a type
// or value it should refuse, and control characters inside texts.
const std::string kHostileBody =
    R"({"family":-1,"mode":"enable\nexit","adminMode":7,"intfMode":null,"immediateMode":[1],)"
    R"("groupIp":"239.1.1.1\nshow running-config","multicastVlan":4294967296,"queryTime":-3,)"
    R"("vidMac":"00:01:01:00:5e:01:01:01:ff","protocol":{},"matchType":"x","compId":1e30,)"
    R"("interface":"1/0/1 ; reload","acronym":"EST\nreload","templateId":"sdm_template_none",)"
    R"("severity":8,"threshold":101,"protocol":-1,"host":")" + std::string(300, 'h') +
    R"(","port":70000,"fanControlMode":false,"vlanStaticMcastRtr":[0,4096,-1,"a"],"status":"enable",)"
    R"("logMessage":"x\r\ny","severityLevel":-1,"txtCfgFile":"../x","outFile":"/etc/passwd",)"
    R"("fileName":"a/b","showCliCommand":"show version\nreload","snoopQuerierAddr":")" +
    std::string(60, '1') + R"(","mask":"","expiryTime":-1,"intf":4294967296,"route":{"destPfx":"x"}})";

struct Input {
    const char* name;
    bool hostile;
};

struct Case {
    const char* program;
    Input input;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.program << "/" << c.input.name; }

class AllRoutes : public testing::TestWithParam<Case> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sim.ok());
        harness::writeAdminSession();
    }
    harness::Simulator sim;
};

TEST_P(AllRoutes, AnswerOneJsonDocumentAndLeaveNoWorkFile)
{
    const Case& c = GetParam();
    size_t seen = 0;
    for (const harness::ListedRoute& l : harness::routeList()) {
        if (l.program != c.program)
            continue;
        ++seen;
        harness::CgiRequest req;
        req.program = l.program;
        req.method = l.method;
        if (c.input.hostile) {
            req.query = kHostileQuery;
            req.uri = l.dir + "/" + l.leaf + "?" + kHostileQuery;
            if (l.method != "GET")
                req.body = kHostileBody;
        } else {
            req.uri = l.dir + "/" + l.leaf;
            req.queryAbsent = true;
        }
        std::string where = l.method + " " + l.dir + "/" + l.leaf;
        harness::CgiResult r = harness::runCgi(req);
        EXPECT_EQ(r.status, 0) << where << "\n" << r.out;
        const std::string header = harness::kJsonHeader;
        ASSERT_EQ(r.out.compare(0, header.size(), header), 0) << where << "\n" << r.out;
        harness::Json doc(r.out.substr(header.size()), harness::Ending::BareOrNewline);
        EXPECT_TRUE(doc.root) << where << ": " << doc.why << "\n" << r.out;
        for (const std::string& f : harness::workFiles()) {
            // The support file is what its route makes, for the user to fetch.
            EXPECT_EQ(f, "support-file.txt") << where << " left a work file";
            if (f != "support-file.txt")
                unlink(("/mnt/application/oxel/tmp/" + f).c_str());
        }
    }
    EXPECT_GT(seen, 100u);
}

INSTANTIATE_TEST_SUITE_P(Programs, AllRoutes,
                         testing::Values(Case{"pathgate", {"none", false}}, Case{"pathgate", {"hostile", true}},
                                         Case{"coregate", {"none", false}}, Case{"coregate", {"hostile", true}},
                                         Case{"swarmgate", {"none", false}}, Case{"swarmgate", {"hostile", true}}),
                         [](const testing::TestParamInfo<Case>& i) {
                             return std::string(i.param.program) + "_" + i.param.input.name;
                         });

}  // namespace
