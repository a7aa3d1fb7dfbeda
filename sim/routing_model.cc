// The routing model in the state file.
#include "sim/routing_model.h"

namespace sim {

using namespace schema;

const Table<RoutingModel> kRoutingTable = {
    keyed<&RoutingModel::intfs, kRouterIntfTable>("intfs", "intIfNum"),
    field<&RoutingModel::routes, List<Obj<Route, kRouteTable>>>("routes"),
    keyed<&RoutingModel::arp, kArpEntryTable>("arp", "ip"),
    field<&RoutingModel::ospf, Obj<Ospf, kOspfTable>>("ospf"),
    field<&RoutingModel::helper, Obj<IpHelper, kIpHelperTable>>("ipHelper"),
    field<&RoutingModel::router, Obj<Router, kRouterTable>>("router"),
    // Protocols and route types the file lists replace the built-in ones.
    keyed<&RoutingModel::protocols, kProtocolTable>("protocols", "id"),
    keyed<&RoutingModel::routeTypes, kRouteTypeTable>("routeTypes", "id"),
    keyed<&RoutingModel::clients, kEventClientTable>("clients", "id"),
    field<&RoutingModel::nextClientId>("nextClientId"),
};

namespace {

// The CLI side of the routing interfaces: an element for each interface
// whose CLI settings are not the defaults, read into the interface's entry.
bool cliDefaults(const RouterIntf& r)
{
    RouterIntf d;
    return r.localProxyArp == d.localProxyArp && r.gratArp == d.gratArp && r.unnumberedGratArp == d.unnumberedGratArp &&
           r.bandwidth == d.bandwidth;
}

void saveCliIntfs(cJSON* o, const Field<RoutingModel>& f, const RoutingModel& m)
{
    cJSON* a = cJSON_AddArrayToObject(o, f.name);
    for (const auto& kv : m.intfs)
        if (!cliDefaults(kv.second))
            cJSON_AddItemToArray(a, Obj<RouterIntf, kRouterIntfCliTable>::make(kv.second));
}

void loadCliIntfs(const StateNode& o, const Field<RoutingModel>& f, RoutingModel& m)
{
    o.member(f.name).eachElement([&](const StateNode& e) {
        uint32_t intIfNum = 0;
        e.u32("intIfNum", &intIfNum);
        loadRecord(e, routerIntfOf(m, intIfNum), kRouterIntfCliTable);
    });
}

// The counters by their names in "show ip stats".
void saveIpStats(cJSON* o, const Field<RoutingModel>& f, const RoutingModel& m)
{
    cJSON* stats = cJSON_AddObjectToObject(o, f.name);
    for (size_t i = 0; i < kIpStatsCount; ++i)
        cJSON_AddItemToObject(stats, kIpStatsNames[i], Counter::make(m.ipStats[i]));
}

void loadIpStats(const StateNode& o, const Field<RoutingModel>& f, RoutingModel& m)
{
    StateNode stats = o.member(f.name);
    for (size_t i = 0; i < kIpStatsCount; ++i)
        stats.u64(kIpStatsNames[i], &m.ipStats[i]);
}

}  // namespace

const Table<RoutingModel> kIpv4CliTable = {
    field<&RoutingModel::arpConfig, Obj<ArpConfig, kArpConfigTable>>("arp"),
    custom<RoutingModel>("intfs", saveCliIntfs, loadCliIntfs),
    custom<RoutingModel>("ipStats", saveIpStats, loadIpStats),
};

}  // namespace sim
