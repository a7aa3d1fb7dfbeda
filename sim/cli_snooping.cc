// IGMP and MLD snooping in the simulated CLI: "show igmpsnooping" and "show
// mldsnooping" with their interface, multicast router, VLAN, querier, group
// and SSM group views, and the global, VLAN database and interface lines of
// the settings the control API does not reach. Every value is the snooping
// model's (model_snooping.h); a refused line changes nothing.
#include <algorithm>
#include <string>
#include <vector>

#include "sim/cli_engine.h"
#include "sim/cli_show.h"
#include "sim/model_snooping.h"
#include "sim/state.h"

namespace sim {
namespace cli {
namespace {

// The family a word of a line names: "igmp...", else MLD.
uint32_t familyOf(const std::string& word)
{
    return word.compare(0, 4, "igmp") == 0 || word.compare(0, 4, "IGMP") == 0 ? kSnoopIgmp : kSnoopMld;
}

const char* plusLabel(uint32_t family) { return family == kSnoopIgmp ? "IGMP-Plus" : "MLD-Plus"; }

// The port or LAG of a name as the CLI prints it ("1/0/5", "lag 2"); 0 for none.
uint32_t snoopIntfNamed(const SwitchState& st, const std::string& name)
{
    for (const auto& kv : st.interfaces)
        if (snoopIntfValid(st, kv.first) && intfName(st, kv.first) == name)
            return kv.first;
    return 0;
}

// --- Show commands -------------------------------------------------------------------

bool showGlobal(const SwitchState& st, const Args& a, std::string* out)
{
    uint32_t family = familyOf(a.param(0));
    const SnoopFamily& f = *snoopFamily(st.snooping, family);
    *out += "\n";
    *out += labelLine("Admin Mode", enableText(f.adminMode));
    *out += labelLine("Multicast Control Frame Count", std::to_string(f.controlFrames));
    if (family == kSnoopIgmp) {
        *out += labelLine("IGMP header validation", enabledText(f.headerValidation));
        *out += labelLine("Fast Leave Auto-Assignment Mode", enableText(f.fastLeaveAuto));
    }
    *out += labelLine(plusLabel(family), enableText(f.plusMode));
    *out += labelLine("Exclude Mrouter Interface Mode", enableText(f.excludeMrouter));
    *out += labelLine("Report Flood Mode", enableText(f.reportFlood));
    *out += labelLine("Interfaces Enabled for Snooping", snoopMaskText(st, snoopEnabledIntfs(st, f)));
    return true;
}

void intfView(const SwitchState& st, uint32_t family, uint32_t n, std::string* out)
{
    SnoopIntf i = snoopIntf(*snoopFamily(st.snooping, family), n);
    *out += "\n";
    *out += labelLine("Interface", intfName(st, n));
    *out += labelLine("Snooping Admin Mode", enableText(i.mode));
    *out += labelLine("Fast Leave Mode", enableText(i.fastLeave));
    *out += labelLine("Group Membership Interval (secs)", std::to_string(i.gmi));
    *out += labelLine("Max Response Time (secs)", std::to_string(i.responseTime));
    *out += labelLine("Multicast Router Expiry Time (secs)", std::to_string(i.mrtrExpiry));
}

void mrouterIntfView(const SwitchState& st, uint32_t family, uint32_t n, std::string* out)
{
    SnoopIntf i = snoopIntf(*snoopFamily(st.snooping, family), n);
    std::string vlans;
    for (uint32_t v : i.staticMrtrVlans)
        vlans += (vlans.empty() ? "" : ",") + std::to_string(v);
    *out += "\n";
    *out += labelLine("Interface", intfName(st, n));
    *out += labelLine("Multicast Router Attached", enableText(i.staticMrouter || i.dynamicMrouter));
    *out += labelLine("VLAN ID", vlans.empty() ? "None" : vlans);
}

bool showIntf(const SwitchState& st, const Args& a, std::string* out)
{
    uint32_t n = snoopIntfNamed(st, a.param(1));
    if (!n)
        return false;
    intfView(st, familyOf(a.param(0)), n, out);
    return true;
}

bool showLag(const SwitchState& st, const Args& a, std::string* out)
{
    uint32_t n = snoopIntfNamed(st, "lag " + a.param(1));
    if (!n)
        return false;
    intfView(st, familyOf(a.param(0)), n, out);
    return true;
}

bool showMrouterIntf(const SwitchState& st, const Args& a, std::string* out)
{
    uint32_t n = snoopIntfNamed(st, a.param(1));
    if (!n)
        return false;
    mrouterIntfView(st, familyOf(a.param(0)), n, out);
    return true;
}

bool showMrouterLag(const SwitchState& st, const Args& a, std::string* out)
{
    uint32_t n = snoopIntfNamed(st, "lag " + a.param(1));
    if (!n)
        return false;
    mrouterIntfView(st, familyOf(a.param(0)), n, out);
    return true;
}

bool showVlan(const SwitchState& st, const Args& a, std::string* out)
{
    uint32_t family = familyOf(a.param(0)), vlan = a.number(1);
    if (!snoopVlanValid(st, vlan))
        return false;
    SnoopVlan v = snoopVlan(*snoopFamily(st.snooping, family), vlan);
    *out += "\n";
    *out += labelLine("VLAN ID", std::to_string(vlan));
    *out += labelLine("Snooping Admin Mode", enableText(v.mode));
    *out += labelLine("Fast Leave Mode", enableText(v.fastLeave));
    *out += labelLine("Group Membership Interval (secs)", std::to_string(v.gmi));
    *out += labelLine("Max Response Time (secs)", std::to_string(v.maxResponse));
    *out += labelLine("Multicast Router Expiry Time (secs)", std::to_string(v.mrtrExpiry));
    *out += labelLine("Report Suppression Mode", enableText(v.reportSupp));
    *out += labelLine(plusLabel(family), enableText(v.plusMode));
    *out += labelLine("Exclude Mrouter", enableText(v.excludeMrouter));
    *out += labelLine("Report Flood Mode", enableText(v.reportFlood));
    return true;
}

// The router ports of a VLAN: the lines of those it has only.
bool showMrouterVlan(const SwitchState& st, const Args& a, std::string* out)
{
    uint32_t vlan = a.number(1);
    if (!snoopVlanValid(st, vlan))
        return false;
    const SnoopFamily& f = *snoopFamily(st.snooping, familyOf(a.param(0)));
    std::string learnt = snoopMaskText(st, snoopVlan(f, vlan).dynamicMrouters);
    std::string fixed = snoopMaskText(st, snoopStaticMrouters(f, vlan));
    *out += "\n";
    *out += labelLine("VLAN ID", std::to_string(vlan));
    if (!learnt.empty())
        *out += labelLine("Interfaces", learnt);
    if (!fixed.empty())
        *out += labelLine("Static Interfaces", fixed);
    return true;
}

bool showQuerierVlan(const SwitchState& st, const Args& a, std::string* out)
{
    uint32_t vlan = a.number(1);
    if (!snoopVlanValid(st, vlan))
        return false;
    const SnoopFamily& f = *snoopFamily(st.snooping, familyOf(a.param(0)));
    SnoopVlan v = snoopVlan(f, vlan);
    *out += "\n";
    *out += labelLine("VLAN ID", std::to_string(vlan));
    *out += labelLine("Querier Election Participation Mode", enableText(v.querierElection));
    *out += labelLine("Querier VLAN Address", v.querierAddr.empty() ? "None" : v.querierAddr);
    if (!v.lastQuerierAddr.empty())
        *out += labelLine("Last Querier Address", v.lastQuerierAddr);
    if (!v.querierMac.empty())
        *out += labelLine("Querier MAC Address", v.querierMac);
    return true;
}

// The MAC address an IPv4 group maps to ("01:00:5e" and its low 23 bits); "" for other groups.
std::string groupMac(const std::string& group)
{
    uint32_t g = dotted(group);
    if ((g >> 28) != 0xe)
        return "";
    return format("01:00:5e:%02x:%02x:%02x", (g >> 16) & 0x7f, (g >> 8) & 0xff, g & 0xff);
}

std::string withMac(const std::string& addr, const std::string& mac) { return mac.empty() ? addr : addr + "/" + mac; }

// One line per membership; further subscribers of the group just above on the
// same interface follow on lines led by blanks.
bool showGroups(const SwitchState& st, const Args& a, std::string* out)
{
    uint32_t family = familyOf(a.param(0));
    const SnoopFamily& f = *snoopFamily(st.snooping, family);
    *out += format("\n%18s%s Snooping Group Table\n\n", "", family == kSnoopIgmp ? "IGMP" : "MLD");
    *out += format("%-5s %-35s %-33s %-10s %-8s %s\n", "Vlan", "Subscriber", "Group", "Interface", "Version",
                   "Timeout");
    *out += dashes(5) + " " + dashes(35) + " " + dashes(33) + " " + dashes(10) + " " + dashes(8) + " " + dashes(7) +
            "\n";
    const SnoopGroup* above = nullptr;
    for (const SnoopGroup& g : f.groups) {
        std::string sub = withMac(g.subscriber, g.subscriberMac);
        if (above && above->vlan == g.vlan && above->group == g.group && above->intIfNum == g.intIfNum) {
            *out += format("%-5s %s\n", "", sub.c_str());
            continue;
        }
        *out += format("%-5u %-35s %-33s %-10s v%-7u %u\n", g.vlan, sub.c_str(),
                       withMac(g.group, groupMac(g.group)).c_str(), intfName(st, g.intIfNum).c_str(), g.version,
                       g.timeout);
        above = &g;
    }
    return true;
}

bool showSsmGroups(const SwitchState& st, const Args& a, std::string* out)
{
    uint32_t family = familyOf(a.param(0));
    const SnoopFamily& f = *snoopFamily(st.snooping, family);
    *out += format("\n%17s%s Snooping SSM Group Table\n\n", "", family == kSnoopIgmp ? "IGMP" : "MLD");
    if (f.ssmGroups.empty()) {
        *out += "There are no entries in the table.\n";
        return true;
    }
    *out += format("%-5s %-16s %-10s %-16s %-8s %s\n", "Vlan", "Group", "Interface", "Reporter", "Filter",
                   "Source List");
    *out += dashes(5) + " " + dashes(16) + " " + dashes(10) + " " + dashes(16) + " " + dashes(8) + " " + dashes(28) +
            "\n";
    for (const SnoopSsmGroup& g : f.ssmGroups) {
        std::string sources;
        for (const std::string& s : g.sources)
            sources += (sources.empty() ? "" : ",") + s;
        *out += format("%-5u %-16s %-10s %-16s %-8s %s\n", g.vlan, g.group.c_str(), intfName(st, g.intIfNum).c_str(),
                       g.reporter.empty() ? "0.0.0.0" : g.reporter.c_str(),
                       g.filterMode == kSnoopInclude ? "Include" : "Exclude", sources.c_str());
    }
    return true;
}

// --- Global configuration ------------------------------------------------------------

template <uint32_t SnoopFamily::*F, uint32_t V>
Outcome familyFlag(Session& s, const Args& a)
{
    assign(s, snoopFamily(s.st.snooping, familyOf(a.param(0)))->*F, V);
    return accepted();
}

template <uint32_t SnoopFamily::*F, uint32_t V>
Outcome igmpFlag(Session& s, const Args&)
{
    assign(s, s.st.snooping.igmp.*F, V);
    return accepted();
}

// A setting of the VLAN of parameter 1 (a VLAN the switch lacks is refused).
template <uint32_t SnoopVlan::*F, uint32_t V>
Outcome vlanFlag(Session& s, const Args& a)
{
    uint32_t vlan = a.number(1);
    if (!snoopVlanValid(s.st, vlan))
        return refuseParam(1);
    SnoopFamily& f = *snoopFamily(s.st.snooping, familyOf(a.param(0)));
    SnoopVlan v = snoopVlan(f, vlan);
    if (v.*F != V) {
        v.*F = V;
        f.vlans[vlan] = v;
        s.changed = true;
    }
    return accepted();
}

// "set igmp|mld mcrtrexpiretime <vlan> <seconds>" (0: routers never expire).
Outcome vlanExpiry(Session& s, const Args& a)
{
    uint32_t vlan = a.number(1), secs = a.number(2);
    if (!snoopVlanValid(s.st, vlan))
        return refuseParam(1);
    if (secs > kSnoopMrtrExpiryMax)
        return refuseParam(2);
    SnoopFamily& f = *snoopFamily(s.st.snooping, familyOf(a.param(0)));
    SnoopVlan v = snoopVlan(f, vlan);
    if (v.mrtrExpiry != secs) {
        v.mrtrExpiry = secs;
        f.vlans[vlan] = v;
        s.changed = true;
    }
    return accepted();
}

// --- Interface configuration ---------------------------------------------------------

// The snooping settings of the session's port or LAG in the family of
// parameter 0; nullptr in a VLAN's interface.
SnoopIntf* sessionIntf(Session& s, const Args& a)
{
    if (!snoopIntfValid(s.st, s.intIfNum))
        return nullptr;
    SnoopFamily& f = *snoopFamily(s.st.snooping, familyOf(a.param(0)));
    if (!f.interfaces.count(s.intIfNum))
        f.interfaces[s.intIfNum] = SnoopIntf();
    return &f.interfaces[s.intIfNum];
}

template <uint32_t SnoopIntf::*F, uint32_t V>
Outcome intfFlag(Session& s, const Args& a)
{
    SnoopIntf* i = sessionIntf(s, a);
    if (!i)
        return refuse("snooping is set on ports and LAGs.");
    assign(s, i->*F, V);
    return accepted();
}

Outcome intfExpiry(Session& s, const Args& a)
{
    if (a.number(1) > kSnoopMrtrExpiryMax)
        return refuseParam(1);
    SnoopIntf* i = sessionIntf(s, a);
    if (!i)
        return refuse("snooping is set on ports and LAGs.");
    assign(s, i->mrtrExpiry, a.number(1));
    return accepted();
}

// "[no] set igmp|mld mrouter <vlan>": the interface is a static router port
// of a VLAN the switch has.
template <bool Add>
Outcome intfMrouterVlan(Session& s, const Args& a)
{
    uint32_t vlan = a.number(1);
    if (!snoopVlanValid(s.st, vlan))
        return refuseParam(1);
    SnoopIntf* i = sessionIntf(s, a);
    if (!i)
        return refuse("snooping is set on ports and LAGs.");
    std::vector<uint32_t>& vlans = i->staticMrtrVlans;
    auto it = std::find(vlans.begin(), vlans.end(), vlan);
    if (Add && it == vlans.end()) {
        vlans.push_back(vlan);
        s.changed = true;
    } else if (!Add && it != vlans.end()) {
        vlans.erase(it);
        s.changed = true;
    }
    return accepted();
}

const ShowRegistrar kSnoopShowRows[] = {
    {"show {igmpsnooping|mldsnooping}", showGlobal},
    {"show {igmpsnooping|mldsnooping} <port>", showIntf},
    {"show {igmpsnooping|mldsnooping} lag <uint>", showLag},
    {"show {igmpsnooping|mldsnooping} <vlan>", showVlan},
    {"show {igmpsnooping|mldsnooping} mrouter interface <port>", showMrouterIntf},
    {"show {igmpsnooping|mldsnooping} mrouter interface lag <uint>", showMrouterLag},
    {"show {igmpsnooping|mldsnooping} mrouter vlan <vlan>", showMrouterVlan},
    {"show {igmpsnooping|mldsnooping} querier vlan <vlan>", showQuerierVlan},
    {"show {igmpsnooping|mldsnooping} group", showGroups},
    {"show {igmpsnooping|mldsnooping} ssm groups", showSsmGroups},
};

const CommandRegistrar kSnoopRows[] = {
    {kModeConfig, "set {igmp-plus|mld-plus}", familyFlag<&SnoopFamily::plusMode, 1>},
    {kModeConfig, "no set {igmp-plus|mld-plus}", familyFlag<&SnoopFamily::plusMode, 0>},
    {kModeConfig, "set {igmp|mld} exclude-mrouter-intf", familyFlag<&SnoopFamily::excludeMrouter, 1>},
    {kModeConfig, "no set {igmp|mld} exclude-mrouter-intf", familyFlag<&SnoopFamily::excludeMrouter, 0>},
    {kModeConfig, "set {igmp|mld} flood-report", familyFlag<&SnoopFamily::reportFlood, 1>},
    {kModeConfig, "no set {igmp|mld} flood-report", familyFlag<&SnoopFamily::reportFlood, 0>},
    {kModeConfig, "set igmp fast-leave auto-assignment", igmpFlag<&SnoopFamily::fastLeaveAuto, 1>},
    {kModeConfig, "no set igmp fast-leave auto-assignment", igmpFlag<&SnoopFamily::fastLeaveAuto, 0>},
    {kModeConfig, "set igmp header-validation", igmpFlag<&SnoopFamily::headerValidation, 1>},
    {kModeConfig, "no set igmp header-validation", igmpFlag<&SnoopFamily::headerValidation, 0>},
    {kModeConfig, "set {igmp-plus|mld-plus} vlan <uint>", vlanFlag<&SnoopVlan::plusMode, 1>},
    {kModeConfig, "no set {igmp-plus|mld-plus} vlan <uint>", vlanFlag<&SnoopVlan::plusMode, 0>},
    {kModeConfig, "set {igmp|mld} exclude-mrouter-intf <uint>", vlanFlag<&SnoopVlan::excludeMrouter, 1>},
    {kModeConfig, "no set {igmp|mld} exclude-mrouter-intf <uint>", vlanFlag<&SnoopVlan::excludeMrouter, 0>},
    {kModeVlanDb, "set {igmp|mld} report-flood-mode <uint>", vlanFlag<&SnoopVlan::reportFlood, 1>},
    {kModeVlanDb, "no set {igmp|mld} report-flood-mode <uint>", vlanFlag<&SnoopVlan::reportFlood, 0>},
    {kModeVlanDb, "set {igmp|mld} mcrtrexpiretime <uint> <uint>", vlanExpiry},
    {kModeInterface, "ip {igmp} snooping mrouter interface", intfFlag<&SnoopIntf::staticMrouter, 1>},
    {kModeInterface, "no ip {igmp} snooping mrouter interface", intfFlag<&SnoopIntf::staticMrouter, 0>},
    {kModeInterface, "ipv6 {mld} snooping mrouter interface", intfFlag<&SnoopIntf::staticMrouter, 1>},
    {kModeInterface, "no ipv6 {mld} snooping mrouter interface", intfFlag<&SnoopIntf::staticMrouter, 0>},
    {kModeInterface, "ip {igmp} snooping fast-leave", intfFlag<&SnoopIntf::fastLeave, 1>},
    {kModeInterface, "no ip {igmp} snooping fast-leave", intfFlag<&SnoopIntf::fastLeave, 0>},
    {kModeInterface, "ipv6 {mld} snooping fast-leave", intfFlag<&SnoopIntf::fastLeave, 1>},
    {kModeInterface, "no ipv6 {mld} snooping fast-leave", intfFlag<&SnoopIntf::fastLeave, 0>},
    {kModeInterface, "ip {igmp} snooping mcrtrexpiretime <uint>", intfExpiry},
    {kModeInterface, "ipv6 {mld} snooping mcrtrexpiretime <uint>", intfExpiry},
    {kModeInterface, "set {igmp|mld} mrouter <uint>", intfMrouterVlan<true>},
    {kModeInterface, "no set {igmp|mld} mrouter <uint>", intfMrouterVlan<false>},
};

}  // namespace
}  // namespace cli
}  // namespace sim
