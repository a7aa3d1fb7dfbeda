// Multicast VLAN registration of the simulated switch.
#include "sim/model_mvr.h"

#include "sim/cli_show.h"
#include "sim/state.h"

namespace sim {

using namespace schema;

const char* const kMvrCounterLabels[kMvrCounterCount] = {
    "IGMP Query Received",         "IGMP Report V1 Received",      "IGMP Report V2 Received",
    "IGMP Leave Received",         "IGMP Query Transmitted",       "IGMP Report V1 Transmitted",
    "IGMP Report V2 Transmitted",  "IGMP Leave Transmitted",       "IGMP Packet Receive Failures",
    "IGMP Packet Transmit Failures",
};

bool mvrGroupAddress(uint32_t addr) { return (addr >> 28) == 0xe; }

MvrIntf mvrIntf(const MvrModel& m, uint32_t intIfNum)
{
    auto it = m.interfaces.find(intIfNum);
    return it == m.interfaces.end() ? MvrIntf() : it->second;
}

std::string mvrRunningConfig(const SwitchState& st)
{
    const MvrModel& m = st.mvr;
    std::string out;
    if (m.mode)
        out += "mvr\n";
    if (m.modeType == kMvrDynamic)
        out += "mvr mode dynamic\n";
    if (m.vlan)
        out += cli::format("mvr vlan %u\n", m.vlan);
    if (m.queryTime != kMvrQueryTimeDefault)
        out += cli::format("mvr querytime %u\n", m.queryTime);
    for (uint32_t g : m.groups)
        out += "mvr group " + cli::dottedText(g) + "\n";
    for (const auto& kv : m.interfaces) {
        const MvrIntf& i = kv.second;
        std::string body;
        if (i.mode)
            body += "mvr\n";
        if (i.type != kMvrPortNone)
            body += i.type == kMvrPortReceiver ? "mvr type receiver\n" : "mvr type source\n";
        if (i.immediate)
            body += "mvr immediate\n";
        for (uint32_t g : i.groups)
            body += cli::format("mvr vlan %u group ", m.vlan) + cli::dottedText(g) + "\n";
        std::string name = cli::intfName(st, kv.first);
        if (!body.empty() && !name.empty())
            out += "interface " + name + "\n" + body + "exit\n";
    }
    return out;
}

namespace {

const Table<MvrIntf> kMvrIntfTable = {
    field<&MvrIntf::type>("type"),
    field<&MvrIntf::mode>("mode"),
    field<&MvrIntf::immediate>("immediate"),
    field<&MvrIntf::groups, List<U32>>("groups"),
};

}  // namespace

const Table<MvrModel> kMvrTable = {
    field<&MvrModel::mode>("mode"),
    field<&MvrModel::modeType>("modeType"),
    field<&MvrModel::vlan>("vlan"),
    field<&MvrModel::queryTime>("queryTime"),
    field<&MvrModel::maxGroups>("maxGroups"),
    field<&MvrModel::groups, List<U32>>("groups"),
    keyed<&MvrModel::interfaces, kMvrIntfTable>("interfaces", "intIfNum"),
    field<&MvrModel::counters, List<U32>>("counters"),
};

}  // namespace sim
