// The network port's IPv4 side, one record two ways in: the control API's
// IPv4 parameters and the CLI's "ip management vlan" and "ip default-gateway"
// meet the same rules and leave the same "show ip management".
#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/openclt/openclt.h"
#include "platform/openclt/wire.h"
#include "sim/cli_engine.h"
#include "sim/cli_show.h"
#include "sim/ops.h"
#include "sim/state.h"

namespace {

using sim::SwitchState;

// An IPv4 record ("" : unset).
std::string v4(const char* text)
{
    InetAddr a{};
    if (*text) {
        in_addr in;
        EXPECT_EQ(inet_pton(AF_INET, text, &in), 1) << text;
        uint32_t v = ntohl(in.s_addr);
        a.family = kFamilyIpv4;
        memcpy(a.addr, &v, 4);
    }
    return std::string(reinterpret_cast<const char*>(&a), sizeof a);
}

int32_t apiSet(SwitchState& st, const char* addr, const char* mask, const char* gw)
{
    const openclt::OpInfo* op = openclt::findOp("rpcclt_openapiNetworkPortIPv4ParametersSet");
    EXPECT_TRUE(op);
    std::vector<openclt::WireArg> args(3);
    const std::string data[3] = {v4(addr), v4(mask), v4(gw)};
    for (size_t i = 0; i < 3; ++i) {
        args[i].kind = op->kinds[i];
        args[i].data = data[i];
    }
    sim::Call c{op, args, st};
    return sim::runOp(c);
}

// The CLI's two commands; true when neither was refused.
bool cliSet(SwitchState& st, const char* addr, const char* mask, const char* gw)
{
    std::string lines = std::string("ip management vlan 1 ") + addr + " " + mask + "\n";
    if (*gw)
        lines += std::string("ip default-gateway ") + gw + "\n";
    std::string out = sim::cli::runScript(st, "configure\n" + lines + "exit\n", nullptr);
    return out.find("% ") == std::string::npos;
}

std::string showMgmt(const SwitchState& st)
{
    std::string out;
    EXPECT_EQ(sim::cli::runShow(st, "show ip management", &out), 0);
    return out;
}

TEST(MgmtPort, ApiAndCliMeetTheSameRulesAndLeaveTheSameSwitch)
{
    struct Case {
        const char* addr;
        const char* mask;
        const char* gw;
        bool ok;
    } cases[] = {
        {"10.0.0.5", "255.255.255.0", "10.0.0.1", true},
        {"10.0.0.5", "255.255.255.0", "", true},
        {"172.16.9.9", "255.255.0.0", "172.16.0.1", true},
        {"10.0.0.5", "255.255.255.252", "10.0.0.6", true},
        {"10.0.0.0", "255.255.255.0", "", false},         // the subnet's own address
        {"10.0.0.255", "255.255.255.0", "", false},       // its broadcast address
        {"127.0.0.5", "255.0.0.0", "", false},            // loopback
        {"224.0.0.5", "255.255.255.0", "", false},        // multicast
        {"10.0.0.5", "255.0.255.0", "", false},           // a mask with a hole
        {"10.0.0.5", "0.0.0.0", "", false},               // no mask
        {"10.0.0.5", "255.255.255.0", "10.0.1.1", false}, // gateway outside the subnet
        {"10.0.0.5", "255.255.255.0", "10.0.0.5", false}, // the port's own address
        {"10.0.0.5", "255.255.255.0", "127.0.0.1", false},
    };
    for (const Case& c : cases) {
        SwitchState viaApi = sim::defaultSwitch(), viaCli = sim::defaultSwitch();
        int32_t rc = apiSet(viaApi, c.addr, c.mask, c.gw);
        EXPECT_EQ(rc == 0, c.ok) << c.addr << " " << c.mask << " " << c.gw << ": " << rc;
        bool cliOk = cliSet(viaCli, c.addr, c.mask, c.gw);
        EXPECT_EQ(cliOk, c.ok) << c.addr << " " << c.mask << " " << c.gw;
        if (c.ok) {
            EXPECT_EQ(showMgmt(viaApi), showMgmt(viaCli)) << c.addr;
            EXPECT_NE(showMgmt(viaApi).find(c.addr), std::string::npos) << showMgmt(viaApi);
        } else if (rc != 0) {
            // A refused API call leaves the switch as it was.
            EXPECT_EQ(showMgmt(viaApi), showMgmt(sim::defaultSwitch())) << c.addr;
        }
    }
}

}  // namespace
