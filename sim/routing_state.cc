// The routing model in the state file. Addresses are kept as dotted or IPv6
// text; route and change records, whose layout is the wire's, as hex bytes.
#include <arpa/inet.h>
#include <cjson/cJSON.h>

#include <cstring>

#include "sim/state.h"
#include "sim/state_reader.h"

namespace sim {

namespace {

template <class R>
std::string hexRec(const R& r)
{
    return hexOf(std::string(reinterpret_cast<const char*>(&r), sizeof r));
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

void addTuple(cJSON* arr, std::initializer_list<uint32_t> values)
{
    cJSON* t = cJSON_CreateArray();
    for (uint32_t v : values)
        cJSON_AddItemToArray(t, cJSON_CreateNumber(v));
    cJSON_AddItemToArray(arr, t);
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

namespace {

// A number-keyed map of numbers ("traps", "metricByTos", "pref4" ...).
void readU32Map(const StateNode& n, std::map<uint32_t, uint32_t>* m)
{
    n.eachNumbered([&](uint32_t key, const StateNode& v) { v.asU32(&(*m)[key]); });
}

// Each element of a list of number tuples of `size` numbers.
template <class F>
void eachTuple(const StateNode& list, size_t size, F&& f)
{
    list.eachElement([&](const StateNode& e) {
        std::vector<uint32_t> t;
        if (e.asTuple(size, &t))
            f(t);
    });
}

}  // namespace

void routingFromJson(const StateNode& root, RoutingModel* out)
{
    StateNode r = root.member("routing");
    if (!r.present())
        return;  // a state file of a switch without routing state keeps the defaults
    RoutingModel m;
    r.member("intfs").eachElement([&](const StateNode& n) {
        RouterIntf i;
        n.u32("intIfNum", &i.intIfNum);
        n.u32("vlanId", &i.vlanId);
        n.u32("adminMode", &i.adminMode);
        n.u32("ipMtu", &i.ipMtu);
        n.u32("proxyArp", &i.proxyArp);
        n.u32("redirects", &i.redirects);
        n.u32("destUnreachable", &i.destUnreachable);
        n.u32("netDirBcast", &i.netDirBcast);
        n.member("addrs").eachElement([&](const StateNode& a) {
            IntfAddr ad;
            a.u32("family", &ad.family);
            a.u32("pfxLen", &ad.pfxLen);
            a.bytes("addr", 16, &ad.addr);
            i.addrs.push_back(ad);
        });
        m.intfs[i.intIfNum] = i;
    });
    r.member("routes").eachElement([&](const StateNode& n) {
        Route rt;
        n.required("record").asRecord(&rt.rec);
        n.member("nextHops").eachElement([&](const StateNode& h) {
            NextHop nh;
            if (h.asRecord(&nh))
                rt.hops.push_back(nh);
        });
        m.routes.push_back(rt);
    });
    r.member("arp").eachElement([&](const StateNode& n) {
        ArpEntry e;
        uint32_t ip = 0, isStatic = 1;
        n.u32("ip", &ip);
        n.u32("intIfNum", &e.intIfNum);
        n.u32("static", &isStatic);
        e.isStatic = isStatic != 0;
        n.bytes("mac", 6, &e.mac);
        m.arp[ip] = e;
    });
    StateNode o = r.member("ospf");
    Ospf& f = m.ospf;
    o.u32("routerId", &f.routerId);
    o.u32("autoCost", &f.autoCost);
    o.u32("maxPaths", &f.maxPaths);
    o.u32("rfc1583", &f.rfc1583);
    o.u32("spfDelay", &f.spfDelay);
    o.u32("spfHold", &f.spfHold);
    o.u32("logAdj", &f.logAdj);
    o.u32("logDetail", &f.logDetail);
    o.u32("stubMode", &f.stubMode);
    o.u32("stubDuration", &f.stubDuration);
    o.u32("stubOverride", &f.stubOverride);
    o.u32("stubMetric", &f.stubMetric);
    readU32Map(o.member("traps"), &f.traps);
    eachTuple(o.member("areas"), 4, [&](const std::vector<uint32_t>& t) { f.areas[t[0]] = OspfArea{t[1], t[2], t[3]}; });
    o.member("intfs").eachElement([&](const StateNode& n) {
        OspfIntf i;
        uint32_t intIfNum = 0;
        n.u32("intIfNum", &intIfNum);
        n.u32("adminMode", &i.adminMode);
        n.u32("areaId", &i.areaId);
        n.u32("areaMode", &i.areaMode);
        n.u32("deadInterval", &i.deadInterval);
        n.u32("helloInterval", &i.helloInterval);
        n.u32("passive", &i.passive);
        n.u32("secondaries", &i.secondaries);
        n.u32("type", &i.type);
        readU32Map(n.member("metricByTos"), &i.metricByTos);
        f.intfs[intIfNum] = i;
    });
    eachTuple(o.member("networks"), 4,
              [&](const std::vector<uint32_t>& t) { f.networks.push_back(OspfNetwork{t[0], t[1], t[2], t[3]}); });
    StateNode h = r.member("ipHelper");
    h.u32("mode", &m.helper.mode);
    eachTuple(h.member("global"), 2, [&](const std::vector<uint32_t>& t) { m.helper.global.insert({t[0], t[1]}); });
    eachTuple(h.member("perIntf"), 3,
              [&](const std::vector<uint32_t>& t) { m.helper.perIntf.insert(std::make_tuple(t[0], t[1], t[2])); });
    eachTuple(h.member("discards"), 2, [&](const std::vector<uint32_t>& t) { m.helper.discards.insert({t[0], t[1]}); });
    StateNode rt = r.member("router");
    rt.u32("adminV4", &m.router.adminV4);
    rt.u32("adminV6", &m.router.adminV6);
    rt.u32("redirects", &m.router.redirects);
    rt.u32("echoReply", &m.router.echoReply);
    rt.u32("icmpBurst", &m.router.icmpBurst);
    rt.u32("icmpInterval", &m.router.icmpInterval);
    readU32Map(rt.member("pref4"), &m.router.pref4);
    readU32Map(rt.member("pref6"), &m.router.pref6);
    // Protocols and route types the file lists replace the built-in ones.
    if (r.member("protocols").present())
        m.protocols.clear();
    r.member("protocols").eachElement([&](const StateNode& n) {
        uint32_t id = 0;
        Protocol p;
        n.u32("id", &id);
        n.u32("family", &p.family);
        n.text("name", &p.name);
        n.text("code", &p.code);
        m.protocols[id] = p;
    });
    if (r.member("routeTypes").present())
        m.routeTypes.clear();
    r.member("routeTypes").eachElement([&](const StateNode& n) {
        uint32_t id = 0;
        RouteType t;
        n.u32("id", &id);
        n.u32("family", &t.family);
        n.u32("protoId", &t.protoId);
        n.text("name", &t.name);
        n.text("code", &t.code);
        m.routeTypes[id] = t;
    });
    r.member("clients").eachElement([&](const StateNode& n) {
        uint32_t id = 0;
        EventClient c;
        n.u32("id", &id);
        n.u32("kind", &c.kind);
        n.u32("family", &c.family);
        n.u32("pid", &c.pid);
        n.text("name", &c.name);
        n.member("pending").eachElement([&](const StateNode& p) {
            RouteChange ch;
            if (p.asRecord(&ch))
                c.pending.push_back(ch);
        });
        m.clients[id] = c;
    });
    r.u32("nextClientId", &m.nextClientId);
    *out = std::move(m);
}

}  // namespace sim
