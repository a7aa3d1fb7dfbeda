// The IPv6 and DHCP relay settings in the state file, under "ipv6".
#include "sim/ipv6_model.h"

#include <cjson/cJSON.h>

#include <cstdlib>

#include "sim/state.h"
#include "sim/state_reader.h"

namespace sim {

namespace {

// The settings of a record as (member, field) pairs, so that writing and
// reading name each field once.
template <class T, class F>
void fieldsOf(T& v, F&& f)
{
    f("enabled", v.enabled);
    f("autoState", v.autoState);
    f("unreachables", v.unreachables);
    f("mtu", v.mtu);
    f("dadTransmits", v.dadTransmits);
    f("nsInterval", v.nsInterval);
    f("reachableTime", v.reachableTime);
    f("raInterval", v.raInterval);
    f("raLifetime", v.raLifetime);
    f("raMtu", v.raMtu);
    f("raPreference", v.raPreference);
    f("managedFlag", v.managedFlag);
    f("otherFlag", v.otherFlag);
    f("hopLimitUnspec", v.hopLimitUnspec);
    f("suppress", v.suppress);
}

template <class T, class F>
void globalFieldsOf(T& g, F&& f)
{
    f("unicastRouting", g.unicastRouting);
    f("nbrsDynRenew", g.nbrsDynRenew);
    f("nudBackoff", g.nudBackoff);
    f("nudMaxUnicast", g.nudMaxUnicast);
    f("nudMaxMulticast", g.nudMaxMulticast);
    f("unresolvedRateLimit", g.unresolvedRateLimit);
    f("hopLimit", g.hopLimit);
}

template <class T, class F>
void relayFieldsOf(T& r, F&& f)
{
    f("maxHopCount", r.maxHopCount);
    f("minWaitTime", r.minWaitTime);
    f("cidOption", r.cidOption);
    f("cidCheck", r.cidCheck);
    f("serverOverride", r.serverOverride);
    f("sourceIntf", r.sourceIntf);
}

template <class T, class F>
void relayIntfFieldsOf(T& r, F&& f)
{
    f("serverOverride", r.serverOverride);
    f("cidOption", r.cidOption);
    f("cidCheck", r.cidCheck);
    f("sourceIntf", r.sourceIntf);
}

auto writer(cJSON* o)
{
    return [o](const char* name, uint32_t v) { cJSON_AddNumberToObject(o, name, v); };
}

auto reader(const StateNode& o)
{
    return [o](const char* name, uint32_t& v) { o.u32(name, &v); };
}

}  // namespace

void ipv6ToJson(cJSON* root, const Ipv6Model& m)
{
    cJSON* o = cJSON_AddObjectToObject(root, "ipv6");
    cJSON* g = cJSON_AddObjectToObject(o, "global");
    globalFieldsOf(m.global, writer(g));
    cJSON* vlans = cJSON_AddObjectToObject(o, "vlans");
    for (const auto& kv : m.vlans) {
        cJSON* v = cJSON_AddObjectToObject(vlans, std::to_string(kv.first).c_str());
        fieldsOf(kv.second, writer(v));
        cJSON* pfx = cJSON_AddArrayToObject(v, "prefixes");
        for (const RaPrefix& p : kv.second.prefixes) {
            cJSON* e = cJSON_CreateObject();
            cJSON_AddStringToObject(e, "prefix", p.prefix.c_str());
            cJSON_AddNumberToObject(e, "pfxLen", p.pfxLen);
            cJSON_AddNumberToObject(e, "validLife", p.validLife);
            cJSON_AddNumberToObject(e, "prefLife", p.prefLife);
            cJSON_AddNumberToObject(e, "onLink", p.onLink);
            cJSON_AddNumberToObject(e, "autonomous", p.autonomous);
            cJSON_AddItemToArray(pfx, e);
        }
    }
    cJSON* ports = cJSON_AddObjectToObject(o, "portAutoState");
    for (const auto& kv : m.portAutoState)
        cJSON_AddNumberToObject(ports, std::to_string(kv.first).c_str(), kv.second);
    cJSON* relay = cJSON_AddObjectToObject(o, "relay");
    relayFieldsOf(m.relay, writer(relay));
    cJSON* counters = cJSON_AddArrayToObject(relay, "counters");
    for (uint32_t c : m.relay.counters)
        cJSON_AddItemToArray(counters, cJSON_CreateNumber(c));
    cJSON* intfs = cJSON_AddObjectToObject(relay, "intfs");
    for (const auto& kv : m.relay.intfs)
        relayIntfFieldsOf(kv.second, writer(cJSON_AddObjectToObject(intfs, std::to_string(kv.first).c_str())));
}

void ipv6FromJson(const StateNode& root, Ipv6Model* m)
{
    StateNode o = root.member("ipv6");
    if (!o.present())
        return;
    globalFieldsOf(m->global, reader(o.member("global")));
    o.member("vlans").eachNumbered([&](uint32_t vlan, const StateNode& n) {
        Ipv6Intf v;
        fieldsOf(v, reader(n));
        n.member("prefixes").eachElement([&](const StateNode& e) {
            RaPrefix p;
            StateNode prefix = e.required("prefix");
            if (prefix.asText(&p.prefix) && p.prefix.empty())
                prefix.fault("an IPv6 prefix expected");
            e.u32("pfxLen", &p.pfxLen);
            e.u32("validLife", &p.validLife);
            e.u32("prefLife", &p.prefLife);
            e.u32("onLink", &p.onLink);
            e.u32("autonomous", &p.autonomous);
            v.prefixes.push_back(p);
        });
        m->vlans[vlan] = v;
    });
    o.member("portAutoState").eachNumbered([&](uint32_t intIfNum, const StateNode& n) {
        uint32_t state = 1;
        n.asU32(&state);
        m->portAutoState[intIfNum] = state != 0 ? 1 : 0;
    });
    StateNode relay = o.member("relay");
    relayFieldsOf(m->relay, reader(relay));
    size_t count = 0;
    relay.member("counters").eachElement([&](const StateNode& n) {
        if (count < kRelayCounters)
            n.asU32(&m->relay.counters[count]);
        else
            n.fault("at most " + std::to_string(kRelayCounters) + " counters expected");
        ++count;
    });
    relay.member("intfs").eachNumbered([&](uint32_t intIfNum, const StateNode& n) {
        RelayIntf r;
        relayIntfFieldsOf(r, reader(n));
        m->relay.intfs[intIfNum] = r;
    });
}

bool ipv6FromJson(const cJSON* root, Ipv6Model* m)
{
    StateFaults faults;
    Ipv6Model read = *m;
    ipv6FromJson(StateNode(root, "", &faults), &read);
    if (!faults.ok())
        return false;
    *m = std::move(read);
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

}  // namespace sim
