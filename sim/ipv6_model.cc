// The IPv6 and DHCP relay settings in the state file, under "ipv6".
#include "sim/ipv6_model.h"

#include <cjson/cJSON.h>

#include <cstdlib>

#include "sim/state.h"

namespace sim {

namespace {

uint32_t numberOr(const cJSON* obj, const char* name, uint32_t dflt)
{
    const cJSON* it = cJSON_GetObjectItemCaseSensitive(obj, name);
    return cJSON_IsNumber(it) && it->valuedouble >= 0 && it->valuedouble <= 4294967295.0
               ? static_cast<uint32_t>(it->valuedouble)
               : dflt;
}

std::string textOr(const cJSON* obj, const char* name, const std::string& dflt)
{
    const cJSON* it = cJSON_GetObjectItemCaseSensitive(obj, name);
    return cJSON_IsString(it) ? it->valuestring : dflt;
}

// A key of a number-keyed object; false for anything but a decimal number.
bool keyOf(const cJSON* it, uint32_t* key)
{
    if (!it->string || !*it->string)
        return false;
    char* end = nullptr;
    unsigned long v = strtoul(it->string, &end, 10);
    if (*end || v > 0xffffffffUL)
        return false;
    *key = static_cast<uint32_t>(v);
    return true;
}

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

auto reader(const cJSON* o)
{
    return [o](const char* name, uint32_t& v) { v = numberOr(o, name, v); };
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

void ipv6FromJson(const cJSON* root, Ipv6Model* m)
{
    const cJSON* o = cJSON_GetObjectItemCaseSensitive(root, "ipv6");
    if (!cJSON_IsObject(o))
        return;
    globalFieldsOf(m->global, reader(cJSON_GetObjectItemCaseSensitive(o, "global")));
    const cJSON* it;
    uint32_t key;
    cJSON_ArrayForEach(it, cJSON_GetObjectItemCaseSensitive(o, "vlans"))
    {
        if (!cJSON_IsObject(it) || !keyOf(it, &key))
            continue;
        Ipv6Intf v;
        fieldsOf(v, reader(it));
        const cJSON* e;
        cJSON_ArrayForEach(e, cJSON_GetObjectItemCaseSensitive(it, "prefixes"))
        {
            RaPrefix p;
            p.prefix = textOr(e, "prefix", "");
            if (p.prefix.empty())
                continue;
            p.pfxLen = numberOr(e, "pfxLen", p.pfxLen);
            p.validLife = numberOr(e, "validLife", p.validLife);
            p.prefLife = numberOr(e, "prefLife", p.prefLife);
            p.onLink = numberOr(e, "onLink", p.onLink);
            p.autonomous = numberOr(e, "autonomous", p.autonomous);
            v.prefixes.push_back(p);
        }
        m->vlans[key] = v;
    }
    cJSON_ArrayForEach(it, cJSON_GetObjectItemCaseSensitive(o, "portAutoState"))
    {
        if (cJSON_IsNumber(it) && keyOf(it, &key))
            m->portAutoState[key] = it->valuedouble != 0 ? 1 : 0;
    }
    const cJSON* relay = cJSON_GetObjectItemCaseSensitive(o, "relay");
    relayFieldsOf(m->relay, reader(relay));
    size_t n = 0;
    cJSON_ArrayForEach(it, cJSON_GetObjectItemCaseSensitive(relay, "counters"))
    {
        if (n >= kRelayCounters)
            break;
        if (cJSON_IsNumber(it) && it->valuedouble >= 0)
            m->relay.counters[n] = static_cast<uint32_t>(it->valuedouble);
        ++n;
    }
    cJSON_ArrayForEach(it, cJSON_GetObjectItemCaseSensitive(relay, "intfs"))
    {
        if (!cJSON_IsObject(it) || !keyOf(it, &key))
            continue;
        RelayIntf r;
        relayIntfFieldsOf(r, reader(it));
        m->relay.intfs[key] = r;
    }
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
