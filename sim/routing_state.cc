// The routing model in the state file. Addresses are kept as dotted or IPv6
// text; route and change records, whose layout is the wire's, as hex bytes.
#include <arpa/inet.h>
#include <cjson/cJSON.h>

#include <cstring>

#include "sim/state.h"

namespace sim {

namespace {

uint32_t num(const cJSON* o, const char* name, uint32_t dflt = 0)
{
    const cJSON* it = cJSON_GetObjectItemCaseSensitive(o, name);
    return cJSON_IsNumber(it) ? static_cast<uint32_t>(it->valuedouble) : dflt;
}

std::string str(const cJSON* o, const char* name)
{
    const cJSON* it = cJSON_GetObjectItemCaseSensitive(o, name);
    return cJSON_IsString(it) ? it->valuestring : "";
}

template <class R>
std::string hexRec(const R& r)
{
    return hexOf(std::string(reinterpret_cast<const char*>(&r), sizeof r));
}

template <class R>
bool recHex(const std::string& hex, R* r)
{
    std::string b;
    if (!unhex(hex, &b) || b.size() != sizeof *r)
        return false;
    memcpy(static_cast<void*>(r), b.data(), sizeof *r);
    return true;
}

void addNums(cJSON* o, std::initializer_list<std::pair<const char*, uint32_t>> fields)
{
    for (const auto& f : fields)
        cJSON_AddNumberToObject(o, f.first, f.second);
}

cJSON* u32Map(const std::map<uint32_t, uint32_t>& m)
{
    cJSON* o = cJSON_CreateObject();
    for (const auto& kv : m)
        cJSON_AddNumberToObject(o, std::to_string(kv.first).c_str(), kv.second);
    return o;
}

void readU32Map(const cJSON* o, std::map<uint32_t, uint32_t>* m)
{
    const cJSON* it;
    cJSON_ArrayForEach(it, o) if (cJSON_IsNumber(it)) (*m)[static_cast<uint32_t>(strtoul(it->string, nullptr, 10))] =
        static_cast<uint32_t>(it->valuedouble);
}

void addTuple(cJSON* arr, std::initializer_list<uint32_t> values)
{
    cJSON* t = cJSON_CreateArray();
    for (uint32_t v : values)
        cJSON_AddItemToArray(t, cJSON_CreateNumber(v));
    cJSON_AddItemToArray(arr, t);
}

std::vector<uint32_t> tupleOf(const cJSON* t)
{
    std::vector<uint32_t> v;
    const cJSON* e;
    cJSON_ArrayForEach(e, t) v.push_back(cJSON_IsNumber(e) ? static_cast<uint32_t>(e->valuedouble) : 0);
    return v;
}

}  // namespace

void routingToJson(cJSON* root, const RoutingModel& m)
{
    cJSON* r = cJSON_AddObjectToObject(root, "routing");
    cJSON* intfs = cJSON_AddArrayToObject(r, "intfs");
    for (const auto& kv : m.intfs) {
        const RouterIntf& i = kv.second;
        cJSON* o = cJSON_CreateObject();
        addNums(o, {{"intIfNum", i.intIfNum}, {"vlanId", i.vlanId}, {"adminMode", i.adminMode}, {"ipMtu", i.ipMtu},
                    {"proxyArp", i.proxyArp}, {"redirects", i.redirects}, {"destUnreachable", i.destUnreachable},
                    {"netDirBcast", i.netDirBcast}});
        cJSON* addrs = cJSON_AddArrayToObject(o, "addrs");
        for (const IntfAddr& a : i.addrs) {
            cJSON* ao = cJSON_CreateObject();
            addNums(ao, {{"family", a.family}, {"pfxLen", a.pfxLen}});
            cJSON_AddStringToObject(ao, "addr", hexOf(a.addr).c_str());
            cJSON_AddItemToArray(addrs, ao);
        }
        cJSON_AddItemToArray(intfs, o);
    }
    cJSON* routes = cJSON_AddArrayToObject(r, "routes");
    for (const Route& rt : m.routes) {
        cJSON* o = cJSON_CreateObject();
        cJSON_AddStringToObject(o, "record", hexRec(rt.rec).c_str());
        cJSON* hops = cJSON_AddArrayToObject(o, "nextHops");
        for (const NextHop& h : rt.hops)
            cJSON_AddItemToArray(hops, cJSON_CreateString(hexRec(h).c_str()));
        cJSON_AddItemToArray(routes, o);
    }
    cJSON* arp = cJSON_AddArrayToObject(r, "arp");
    for (const auto& kv : m.arp) {
        cJSON* o = cJSON_CreateObject();
        addNums(o, {{"ip", kv.first}, {"intIfNum", kv.second.intIfNum}, {"static", kv.second.isStatic}});
        cJSON_AddStringToObject(o, "mac", hexOf(kv.second.mac).c_str());
        cJSON_AddItemToArray(arp, o);
    }
    const Ospf& f = m.ospf;
    cJSON* ospf = cJSON_AddObjectToObject(r, "ospf");
    addNums(ospf, {{"routerId", f.routerId}, {"autoCost", f.autoCost}, {"maxPaths", f.maxPaths},
                   {"rfc1583", f.rfc1583}, {"spfDelay", f.spfDelay}, {"spfHold", f.spfHold}, {"logAdj", f.logAdj},
                   {"logDetail", f.logDetail}, {"stubMode", f.stubMode}, {"stubDuration", f.stubDuration},
                   {"stubOverride", f.stubOverride}, {"stubMetric", f.stubMetric}});
    cJSON_AddItemToObject(ospf, "traps", u32Map(f.traps));
    cJSON* areas = cJSON_AddArrayToObject(ospf, "areas");
    for (const auto& kv : f.areas)
        addTuple(areas, {kv.first, kv.second.summary, kv.second.importExt, kv.second.nssaSummary});
    cJSON* ointfs = cJSON_AddArrayToObject(ospf, "intfs");
    for (const auto& kv : f.intfs) {
        const OspfIntf& i = kv.second;
        cJSON* o = cJSON_CreateObject();
        addNums(o, {{"intIfNum", kv.first}, {"adminMode", i.adminMode}, {"areaId", i.areaId}, {"areaMode", i.areaMode},
                    {"deadInterval", i.deadInterval}, {"helloInterval", i.helloInterval}, {"passive", i.passive},
                    {"secondaries", i.secondaries}, {"type", i.type}});
        cJSON_AddItemToObject(o, "metricByTos", u32Map(i.metricByTos));
        cJSON_AddItemToArray(ointfs, o);
    }
    cJSON* nets = cJSON_AddArrayToObject(ospf, "networks");
    for (const OspfNetwork& n : f.networks) {
        addTuple(nets, {n.ip, n.wildcard, n.areaId, n.areaIdFmt});
    }
    cJSON* helper = cJSON_AddObjectToObject(r, "ipHelper");
    cJSON_AddNumberToObject(helper, "mode", m.helper.mode);
    cJSON* g = cJSON_AddArrayToObject(helper, "global");
    for (const auto& e : m.helper.global) {
        addTuple(g, {e.first, e.second});
    }
    cJSON* pi = cJSON_AddArrayToObject(helper, "perIntf");
    for (const auto& e : m.helper.perIntf) {
        addTuple(pi, {std::get<0>(e), std::get<1>(e), std::get<2>(e)});
    }
    cJSON* d = cJSON_AddArrayToObject(helper, "discards");
    for (const auto& e : m.helper.discards) {
        addTuple(d, {e.first, e.second});
    }
    cJSON* router = cJSON_AddObjectToObject(r, "router");
    addNums(router, {{"adminV4", m.router.adminV4}, {"adminV6", m.router.adminV6}, {"redirects", m.router.redirects},
                     {"echoReply", m.router.echoReply}, {"icmpBurst", m.router.icmpBurst},
                     {"icmpInterval", m.router.icmpInterval}});
    cJSON_AddItemToObject(router, "pref4", u32Map(m.router.pref4));
    cJSON_AddItemToObject(router, "pref6", u32Map(m.router.pref6));
    cJSON* protos = cJSON_AddArrayToObject(r, "protocols");
    for (const auto& kv : m.protocols) {
        cJSON* o = cJSON_CreateObject();
        addNums(o, {{"id", kv.first}, {"family", kv.second.family}});
        cJSON_AddStringToObject(o, "name", kv.second.name.c_str());
        cJSON_AddStringToObject(o, "code", kv.second.code.c_str());
        cJSON_AddItemToArray(protos, o);
    }
    cJSON* types = cJSON_AddArrayToObject(r, "routeTypes");
    for (const auto& kv : m.routeTypes) {
        cJSON* o = cJSON_CreateObject();
        addNums(o, {{"id", kv.first}, {"family", kv.second.family}, {"protoId", kv.second.protoId}});
        cJSON_AddStringToObject(o, "name", kv.second.name.c_str());
        cJSON_AddStringToObject(o, "code", kv.second.code.c_str());
        cJSON_AddItemToArray(types, o);
    }
    cJSON* clients = cJSON_AddArrayToObject(r, "clients");
    for (const auto& kv : m.clients) {
        cJSON* o = cJSON_CreateObject();
        addNums(o, {{"id", kv.first}, {"kind", kv.second.kind}, {"family", kv.second.family}, {"pid", kv.second.pid}});
        cJSON_AddStringToObject(o, "name", kv.second.name.c_str());
        cJSON* p = cJSON_AddArrayToObject(o, "pending");
        for (const RouteChange& c : kv.second.pending)
            cJSON_AddItemToArray(p, cJSON_CreateString(hexRec(c).c_str()));
        cJSON_AddItemToArray(clients, o);
    }
    cJSON_AddNumberToObject(r, "nextClientId", m.nextClientId);
}

void routingFromJson(const cJSON* root, RoutingModel* out)
{
    const cJSON* r = cJSON_GetObjectItemCaseSensitive(root, "routing");
    if (!cJSON_IsObject(r))
        return;  // a state file of a switch without routing state keeps the defaults
    RoutingModel m;
    const cJSON* it;
    cJSON_ArrayForEach(it, cJSON_GetObjectItemCaseSensitive(r, "intfs"))
    {
        RouterIntf i;
        i.intIfNum = num(it, "intIfNum");
        i.vlanId = num(it, "vlanId");
        i.adminMode = num(it, "adminMode", 1);
        i.ipMtu = num(it, "ipMtu", 1500);
        i.proxyArp = num(it, "proxyArp");
        i.redirects = num(it, "redirects", 1);
        i.destUnreachable = num(it, "destUnreachable", 1);
        i.netDirBcast = num(it, "netDirBcast");
        const cJSON* a;
        cJSON_ArrayForEach(a, cJSON_GetObjectItemCaseSensitive(it, "addrs"))
        {
            IntfAddr ad;
            ad.family = num(a, "family", kFamilyIpv4);
            ad.pfxLen = num(a, "pfxLen");
            std::string b;
            if (unhex(str(a, "addr"), &b) && b.size() == 16)
                ad.addr = b;
            i.addrs.push_back(ad);
        }
        m.intfs[i.intIfNum] = i;
    }
    cJSON_ArrayForEach(it, cJSON_GetObjectItemCaseSensitive(r, "routes"))
    {
        Route rt;
        if (!recHex(str(it, "record"), &rt.rec))
            continue;
        const cJSON* h;
        cJSON_ArrayForEach(h, cJSON_GetObjectItemCaseSensitive(it, "nextHops"))
        {
            NextHop nh;
            if (cJSON_IsString(h) && recHex(h->valuestring, &nh))
                rt.hops.push_back(nh);
        }
        m.routes.push_back(rt);
    }
    cJSON_ArrayForEach(it, cJSON_GetObjectItemCaseSensitive(r, "arp"))
    {
        ArpEntry e;
        e.intIfNum = num(it, "intIfNum");
        e.isStatic = num(it, "static", 1) != 0;
        std::string b;
        if (unhex(str(it, "mac"), &b) && b.size() == 6)
            e.mac = b;
        m.arp[num(it, "ip")] = e;
    }
    const cJSON* o = cJSON_GetObjectItemCaseSensitive(r, "ospf");
    Ospf& f = m.ospf;
    f.routerId = num(o, "routerId");
    f.autoCost = num(o, "autoCost", 100);
    f.maxPaths = num(o, "maxPaths", 4);
    f.rfc1583 = num(o, "rfc1583", 1);
    f.spfDelay = num(o, "spfDelay", 5);
    f.spfHold = num(o, "spfHold", 10);
    f.logAdj = num(o, "logAdj");
    f.logDetail = num(o, "logDetail");
    f.stubMode = num(o, "stubMode");
    f.stubDuration = num(o, "stubDuration");
    f.stubOverride = num(o, "stubOverride");
    f.stubMetric = num(o, "stubMetric");
    readU32Map(cJSON_GetObjectItemCaseSensitive(o, "traps"), &f.traps);
    cJSON_ArrayForEach(it, cJSON_GetObjectItemCaseSensitive(o, "areas"))
    {
        std::vector<uint32_t> t = tupleOf(it);
        if (t.size() == 4)
            f.areas[t[0]] = OspfArea{t[1], t[2], t[3]};
    }
    cJSON_ArrayForEach(it, cJSON_GetObjectItemCaseSensitive(o, "intfs"))
    {
        OspfIntf i;
        i.adminMode = num(it, "adminMode");
        i.areaId = num(it, "areaId");
        i.areaMode = num(it, "areaMode");
        i.deadInterval = num(it, "deadInterval", 40);
        i.helloInterval = num(it, "helloInterval", 10);
        i.passive = num(it, "passive");
        i.secondaries = num(it, "secondaries", 1);
        i.type = num(it, "type", 1);
        readU32Map(cJSON_GetObjectItemCaseSensitive(it, "metricByTos"), &i.metricByTos);
        f.intfs[num(it, "intIfNum")] = i;
    }
    cJSON_ArrayForEach(it, cJSON_GetObjectItemCaseSensitive(o, "networks"))
    {
        std::vector<uint32_t> t = tupleOf(it);
        if (t.size() == 4)
            f.networks.push_back(OspfNetwork{t[0], t[1], t[2], t[3]});
    }
    const cJSON* h = cJSON_GetObjectItemCaseSensitive(r, "ipHelper");
    m.helper.mode = num(h, "mode");
    cJSON_ArrayForEach(it, cJSON_GetObjectItemCaseSensitive(h, "global"))
    {
        std::vector<uint32_t> t = tupleOf(it);
        if (t.size() == 2)
            m.helper.global.insert({t[0], t[1]});
    }
    cJSON_ArrayForEach(it, cJSON_GetObjectItemCaseSensitive(h, "perIntf"))
    {
        std::vector<uint32_t> t = tupleOf(it);
        if (t.size() == 3)
            m.helper.perIntf.insert(std::make_tuple(t[0], t[1], t[2]));
    }
    cJSON_ArrayForEach(it, cJSON_GetObjectItemCaseSensitive(h, "discards"))
    {
        std::vector<uint32_t> t = tupleOf(it);
        if (t.size() == 2)
            m.helper.discards.insert({t[0], t[1]});
    }
    const cJSON* rt = cJSON_GetObjectItemCaseSensitive(r, "router");
    m.router.adminV4 = num(rt, "adminV4", 1);
    m.router.adminV6 = num(rt, "adminV6");
    m.router.redirects = num(rt, "redirects", 1);
    m.router.echoReply = num(rt, "echoReply", 1);
    m.router.icmpBurst = num(rt, "icmpBurst", 100);
    m.router.icmpInterval = num(rt, "icmpInterval", 1000);
    readU32Map(cJSON_GetObjectItemCaseSensitive(rt, "pref4"), &m.router.pref4);
    readU32Map(cJSON_GetObjectItemCaseSensitive(rt, "pref6"), &m.router.pref6);
    if (cJSON_GetObjectItemCaseSensitive(r, "protocols"))
        m.protocols.clear();
    cJSON_ArrayForEach(it, cJSON_GetObjectItemCaseSensitive(r, "protocols"))
        m.protocols[num(it, "id")] = Protocol{num(it, "family", 1), str(it, "name"), str(it, "code")};
    if (cJSON_GetObjectItemCaseSensitive(r, "routeTypes"))
        m.routeTypes.clear();
    cJSON_ArrayForEach(it, cJSON_GetObjectItemCaseSensitive(r, "routeTypes"))
        m.routeTypes[num(it, "id")] = RouteType{num(it, "family", 1), num(it, "protoId"), str(it, "name"),
                                                str(it, "code")};
    cJSON_ArrayForEach(it, cJSON_GetObjectItemCaseSensitive(r, "clients"))
    {
        EventClient c;
        c.kind = num(it, "kind", kBestRouteClient);
        c.family = num(it, "family", 1);
        c.pid = num(it, "pid");
        c.name = str(it, "name");
        const cJSON* p;
        cJSON_ArrayForEach(p, cJSON_GetObjectItemCaseSensitive(it, "pending"))
        {
            RouteChange ch;
            if (cJSON_IsString(p) && recHex(p->valuestring, &ch))
                c.pending.push_back(ch);
        }
        m.clients[num(it, "id")] = c;
    }
    m.nextClientId = num(r, "nextClientId", 1);
    *out = std::move(m);
}

}  // namespace sim
