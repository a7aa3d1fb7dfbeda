// IPv6 rules and records in the state file, under "ipv6".
#include "sim/model_ipv6.h"

#include <algorithm>

#include "sim/state.h"

namespace sim {

bool raPrefixSet(Ipv6Intf& v, const RaPrefix& p, bool* changed)
{
    if (p.prefLife > p.validLife)
        return false;
    auto same = [&](const RaPrefix& e) { return e.prefix == p.prefix && e.pfxLen == p.pfxLen; };
    auto it = std::find_if(v.prefixes.begin(), v.prefixes.end(), same);
    if (it == v.prefixes.end()) {
        v.prefixes.push_back(p);
        *changed = true;
    } else if (it->validLife != p.validLife || it->prefLife != p.prefLife || it->onLink != p.onLink ||
               it->autonomous != p.autonomous) {
        *it = p;
        *changed = true;
    }
    return true;
}

uint32_t autoStateOf(const SwitchState& st, uint32_t intIfNum)
{
    auto i = st.interfaces.find(intIfNum);
    if (i == st.interfaces.end())
        return 1;
    if (i->second.type == kIfVlan) {
        auto r = st.routing.intfs.find(intIfNum);
        uint32_t vlan = r == st.routing.intfs.end() ? i->second.pvid : r->second.vlanId;
        auto v = st.ipv6.vlans.find(vlan);
        return v == st.ipv6.vlans.end() ? 1 : v->second.autoState;
    }
    auto p = st.ipv6.portAutoState.find(intIfNum);
    return p == st.ipv6.portAutoState.end() ? 1 : p->second;
}

using namespace schema;

namespace {

// The address of an advertised prefix: never empty.
struct PrefixText {
    static cJSON* make(const std::string& v) { return cJSON_CreateString(v.c_str()); }
    static void read(const StateNode& n, std::string& v)
    {
        if (n.asText(&v) && v.empty())
            n.fault("an IPv6 prefix expected");
    }
};

// Auto-state of a port: on or off, whatever number the file has.
struct OnOff {
    static cJSON* make(uint32_t v) { return cJSON_CreateNumber(v); }
    static void read(const StateNode& n, uint32_t& v)
    {
        uint32_t state = 1;
        n.asU32(&state);
        v = state != 0 ? 1 : 0;
    }
};

const Table<RaPrefix> kRaPrefixTable = {
    requiredField<&RaPrefix::prefix, PrefixText>("prefix"),
    field<&RaPrefix::pfxLen>("pfxLen"),
    field<&RaPrefix::validLife>("validLife"),
    field<&RaPrefix::prefLife>("prefLife"),
    field<&RaPrefix::onLink>("onLink"),
    field<&RaPrefix::autonomous>("autonomous"),
};

const Table<Ipv6Intf> kIpv6IntfTable = {
    field<&Ipv6Intf::enabled>("enabled"),
    field<&Ipv6Intf::autoState>("autoState"),
    field<&Ipv6Intf::unreachables>("unreachables"),
    field<&Ipv6Intf::mtu>("mtu"),
    field<&Ipv6Intf::dadTransmits>("dadTransmits"),
    field<&Ipv6Intf::nsInterval>("nsInterval"),
    field<&Ipv6Intf::reachableTime>("reachableTime"),
    field<&Ipv6Intf::raInterval>("raInterval"),
    field<&Ipv6Intf::raLifetime>("raLifetime"),
    field<&Ipv6Intf::raMtu>("raMtu"),
    field<&Ipv6Intf::raPreference>("raPreference"),
    field<&Ipv6Intf::managedFlag>("managedFlag"),
    field<&Ipv6Intf::otherFlag>("otherFlag"),
    field<&Ipv6Intf::hopLimitUnspec>("hopLimitUnspec"),
    field<&Ipv6Intf::suppress>("suppress"),
    field<&Ipv6Intf::prefixes, List<Obj<RaPrefix, kRaPrefixTable>>>("prefixes"),
};

const Table<Ipv6Global> kIpv6GlobalTable = {
    field<&Ipv6Global::unicastRouting>("unicastRouting"),
    field<&Ipv6Global::nbrsDynRenew>("nbrsDynRenew"),
    field<&Ipv6Global::nudBackoff>("nudBackoff"),
    field<&Ipv6Global::nudMaxUnicast>("nudMaxUnicast"),
    field<&Ipv6Global::nudMaxMulticast>("nudMaxMulticast"),
    field<&Ipv6Global::unresolvedRateLimit>("unresolvedRateLimit"),
    field<&Ipv6Global::hopLimit>("hopLimit"),
};

}  // namespace

const Table<Ipv6Model> kIpv6Table = {
    field<&Ipv6Model::global, Obj<Ipv6Global, kIpv6GlobalTable>>("global"),
    field<&Ipv6Model::vlans, Numbered<Obj<Ipv6Intf, kIpv6IntfTable>>>("vlans"),
    field<&Ipv6Model::portAutoState, Numbered<OnOff>>("portAutoState"),
    field<&Ipv6Model::relay, Obj<RelayConfig, kRelayTable>>("relay"),
};

bool ipv6FromJson(const cJSON* root, Ipv6Model* m)
{
    StateFaults faults;
    Ipv6Model read = *m;
    Obj<Ipv6Model, kIpv6Table>::read(StateNode(root, "", &faults).member("ipv6"), read);
    if (!faults.ok())
        return false;
    *m = std::move(read);
    return true;
}

}  // namespace sim

