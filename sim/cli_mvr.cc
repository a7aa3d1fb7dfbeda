// Multicast VLAN registration in the simulated CLI: "show mvr", "show mvr
// traffic", "show mvr interface <port>|lag <n>", and the global and
// interface configuration commands of MVR. A refused value changes nothing.
// Every value is the MVR model's (model_mvr.h).
#include <algorithm>
#include <string>

#include "sim/cli_engine.h"
#include "sim/cli_show.h"
#include "sim/model_mvr.h"
#include "sim/state.h"

namespace sim {
namespace cli {
namespace {

bool showMvr(const SwitchState& st, const Args&, std::string* out)
{
    const MvrModel& m = st.mvr;
    *out += "\n";
    *out += labelLine("MVR Running", m.mode ? "TRUE" : "FALSE");
    *out += labelLine("MVR multicast VLAN", std::to_string(m.vlan));
    *out += labelLine("MVR Max Multicast Groups", std::to_string(m.maxGroups));
    *out += labelLine("MVR Current multicast groups", std::to_string(m.groups.size()));
    *out += labelLine("MVR Global query response time", format("%u (tenths of sec)", m.queryTime));
    *out += labelLine("MVR Mode", m.modeType == kMvrDynamic ? "dynamic" : "compatible");
    return true;
}

bool showMvrTraffic(const SwitchState& st, const Args&, std::string* out)
{
    const MvrModel& m = st.mvr;
    *out += "\n";
    for (size_t i = 0; i < kMvrCounterCount; ++i)
        *out += labelLine(kMvrCounterLabels[i], std::to_string(i < m.counters.size() ? m.counters[i] : 0));
    return true;
}

const char* typeWord(uint32_t t)
{
    return t == kMvrPortReceiver ? "RECEIVER" : t == kMvrPortSource ? "SOURCE" : "NONE";
}

void showIntf(const SwitchState& st, uint32_t intIfNum, std::string* out)
{
    const MvrIntf i = mvrIntf(st.mvr, intIfNum);
    *out += "\nPort     Type        Status              Immediate Leave\n";
    *out += "-------  ----------  ------------------  ---------------\n";
    *out += format("%-7s  Type: %-10s  Status: %-10s  Immediate Leave: %s\n", intfName(st, intIfNum).c_str(),
                   typeWord(i.type), i.mode ? "ACTIVE" : "INACTIVE",
                   i.immediate ? "ENABLED" : "DISABLED");
    for (uint32_t g : i.groups)
        *out += "         Group " + dottedText(g) + "\n";
}

// The port or LAG a command names ("1/0/5", "0/5"; "lag 2"); 0 for none.
uint32_t portNumber(const SwitchState& st, const std::string& t)
{
    for (const auto& kv : st.interfaces) {
        const Interface& i = kv.second;
        if (i.type == kIfPhysical && (i.name == t || (i.unit == 1 && format("%u/%u", i.slot, i.port) == t)))
            return kv.first;
    }
    return 0;
}

bool showMvrPort(const SwitchState& st, const Args& a, std::string* out)
{
    uint32_t n = portNumber(st, a.param(0));
    if (!n)
        return false;
    showIntf(st, n, out);
    return true;
}

bool showMvrLag(const SwitchState& st, const Args& a, std::string* out)
{
    for (const auto& kv : st.interfaces)
        if (kv.second.type == kIfLag && kv.second.port == a.number(0)) {
            showIntf(st, kv.first, out);
            return true;
        }
    return false;
}

// --- Global configuration ---------------------------------------------------------

template <uint32_t V>
Outcome mvrMode(Session& s, const Args&)
{
    assign(s, s.st.mvr.mode, V);
    return accepted();
}

Outcome modeType(Session& s, const Args& a)
{
    assign(s, s.st.mvr.modeType, a.param(0) == "dynamic" ? uint32_t(kMvrDynamic) : uint32_t(kMvrCompatible));
    return accepted();
}

Outcome modeTypeClear(Session& s, const Args&)
{
    assign(s, s.st.mvr.modeType, uint32_t(kMvrCompatible));
    return accepted();
}

bool atDefaults(const MvrIntf& i)
{
    return !i.mode && !i.immediate && i.type == kMvrPortNone && i.groups.empty();
}

bool anyIntfGroups(const MvrModel& m)
{
    for (const auto& kv : m.interfaces)
        if (!kv.second.groups.empty())
            return true;
    return false;
}

// The multicast VLAN may change while the interfaces hold no static groups
// (their memberships are in it); removing it needs no groups at all.
Outcome vlanSet(Session& s, const Args& a)
{
    if (a.number(0) != s.st.mvr.vlan && anyIntfGroups(s.st.mvr))
        return refuse("interfaces are members of groups in the multicast VLAN.");
    assign(s, s.st.mvr.vlan, a.number(0));
    return accepted();
}

Outcome vlanClear(Session& s, const Args&)
{
    if (!s.st.mvr.groups.empty())
        return refuse("MVR groups need the multicast VLAN.");
    assign(s, s.st.mvr.vlan, uint32_t(0));
    return accepted();
}

Outcome queryTime(Session& s, const Args& a)
{
    uint32_t v = a.number(0);
    if (v < 1 || v > kMvrQueryTimeMax)
        return refuseParam(0);
    assign(s, s.st.mvr.queryTime, v);
    return accepted();
}

Outcome queryTimeClear(Session& s, const Args&)
{
    assign(s, s.st.mvr.queryTime, kMvrQueryTimeDefault);
    return accepted();
}

Outcome groupAdd(Session& s, const Args& a)
{
    MvrModel& m = s.st.mvr;
    uint32_t g = dotted(a.param(0));
    if (!mvrGroupAddress(g))
        return refuseParam(0);
    if (std::find(m.groups.begin(), m.groups.end(), g) != m.groups.end())
        return accepted();
    if (m.vlan == 0)
        return refuse("no MVR multicast VLAN.");
    if (m.groups.size() >= m.maxGroups)
        return refuse("the MVR group table is full.");
    m.groups.push_back(g);
    s.changed = true;
    return accepted();
}

// A group removed leaves every interface's membership of it too.
Outcome groupRemove(Session& s, const Args& a)
{
    MvrModel& m = s.st.mvr;
    uint32_t g = dotted(a.param(0));
    if (!mvrGroupAddress(g))
        return refuseParam(0);
    auto it = std::find(m.groups.begin(), m.groups.end(), g);
    if (it == m.groups.end())
        return accepted();
    m.groups.erase(it);
    for (auto i = m.interfaces.begin(); i != m.interfaces.end();) {
        std::vector<uint32_t>& groups = i->second.groups;
        groups.erase(std::remove(groups.begin(), groups.end(), g), groups.end());
        i = atDefaults(i->second) ? m.interfaces.erase(i) : std::next(i);
    }
    s.changed = true;
    return accepted();
}

// --- Interface configuration ------------------------------------------------------

// The MVR settings of the session's port or LAG; nullptr in a VLAN's interface.
MvrIntf* sessionIntf(Session& s)
{
    if (s.intIfNum == 0 || !s.st.interfaces.count(s.intIfNum))
        return nullptr;
    return &s.st.mvr.interfaces[s.intIfNum];
}

// Drops the record of an interface back at its defaults.
void tidy(Session& s)
{
    auto it = s.st.mvr.interfaces.find(s.intIfNum);
    if (it != s.st.mvr.interfaces.end() && atDefaults(it->second))
        s.st.mvr.interfaces.erase(it);
}

template <uint32_t MvrIntf::*F, uint32_t V>
Outcome intfFlag(Session& s, const Args&)
{
    MvrIntf* i = sessionIntf(s);
    if (!i)
        return refuse("MVR is set on ports and LAGs.");
    assign(s, i->*F, V);
    tidy(s);
    return accepted();
}

Outcome intfType(Session& s, const Args& a)
{
    MvrIntf* i = sessionIntf(s);
    if (!i)
        return refuse("MVR is set on ports and LAGs.");
    assign(s, i->type, a.param(0) == "source" ? uint32_t(kMvrPortSource) : uint32_t(kMvrPortReceiver));
    tidy(s);
    return accepted();
}

// "[no] mvr vlan <vlan> group <ipv4>": the VLAN must be the multicast VLAN
// and the group one of the MVR groups.
Outcome intfGroup(Session& s, const Args& a, bool add)
{
    MvrModel& m = s.st.mvr;
    uint32_t g = dotted(a.param(1));
    if (a.number(0) != m.vlan || m.vlan == 0)
        return refuseParam(0);
    if (!mvrGroupAddress(g))
        return refuseParam(1);
    bool known = std::find(m.groups.begin(), m.groups.end(), g) != m.groups.end();
    if (add && !known)
        return refuse("the group is no MVR group.");
    MvrIntf* i = sessionIntf(s);
    if (!i)
        return refuse("MVR is set on ports and LAGs.");
    auto it = std::find(i->groups.begin(), i->groups.end(), g);
    if (add && it == i->groups.end()) {
        i->groups.push_back(g);
        s.changed = true;
    } else if (!add && it != i->groups.end()) {
        i->groups.erase(it);
        s.changed = true;
    }
    tidy(s);
    return accepted();
}

Outcome intfGroupAdd(Session& s, const Args& a) { return intfGroup(s, a, true); }
Outcome intfGroupRemove(Session& s, const Args& a) { return intfGroup(s, a, false); }

const ShowRegistrar kMvrShowRows[] = {
    {"show mvr", showMvr},
    {"show mvr traffic", showMvrTraffic},
    {"show mvr interface <port>", showMvrPort},
    {"show mvr interface lag <uint>", showMvrLag},
};

const CommandRegistrar kMvrRows[] = {
    {kModeConfig, "mvr", mvrMode<1>},
    {kModeConfig, "no mvr", mvrMode<0>},
    {kModeConfig, "mvr mode {compatible|dynamic}", modeType},
    {kModeConfig, "no mvr mode", modeTypeClear},
    {kModeConfig, "mvr vlan <vlan>", vlanSet},
    {kModeConfig, "no mvr vlan", vlanClear},
    {kModeConfig, "mvr querytime <uint>", queryTime},
    {kModeConfig, "no mvr querytime", queryTimeClear},
    {kModeConfig, "mvr group <ipv4>", groupAdd},
    {kModeConfig, "no mvr group <ipv4>", groupRemove},
    {kModeInterface, "mvr", intfFlag<&MvrIntf::mode, 1>},
    {kModeInterface, "no mvr", intfFlag<&MvrIntf::mode, 0>},
    {kModeInterface, "mvr type {receiver|source}", intfType},
    {kModeInterface, "no mvr type", intfFlag<&MvrIntf::type, kMvrPortNone>},
    {kModeInterface, "mvr immediate", intfFlag<&MvrIntf::immediate, 1>},
    {kModeInterface, "no mvr immediate", intfFlag<&MvrIntf::immediate, 0>},
    {kModeInterface, "mvr vlan <vlan> group <ipv4>", intfGroupAdd},
    {kModeInterface, "no mvr vlan <vlan> group <ipv4>", intfGroupRemove},
};

}  // namespace
}  // namespace cli
}  // namespace sim
