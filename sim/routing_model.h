// Routing part of the simulated switch: routing interfaces and their
// addresses, the route table with next hops, ARP, OSPF, IP helper, router
// settings, registered protocols and route types, and the clients that
// receive route changes.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <tuple>
#include <set>
#include <vector>

#include "platform/openclt/routing_types.h"

struct cJSON;

namespace sim {

class StateNode;

/// An interface address; `addr` holds the record form (IPv4 host order in the first word).
struct IntfAddr {
    uint32_t family = kFamilyIpv4;
    std::string addr = std::string(16, '\0');
    uint32_t pfxLen = 0;
};

/// Routing settings of an interface (a port or a VLAN routing interface).
struct RouterIntf {
    uint32_t intIfNum = 0;
    uint32_t vlanId = 0;  // VLAN routing interfaces only
    std::vector<IntfAddr> addrs;  // the first IPv4 address is the primary one
    uint32_t adminMode = 1;
    uint32_t ipMtu = 1500;
    uint32_t proxyArp = 0;
    uint32_t redirects = 1;
    uint32_t destUnreachable = 1;
    uint32_t netDirBcast = 0;
};

/// A route: its record (key: family, prefix, length) and its next hops.
struct Route {
    RouteRecord rec{};
    std::vector<NextHop> hops;
};

struct ArpEntry {
    uint32_t intIfNum = 0;
    std::string mac = std::string(6, '\0');
    bool isStatic = true;
};

struct OspfIntf {
    uint32_t adminMode = 0;
    uint32_t areaId = 0;
    uint32_t areaMode = 0;
    uint32_t deadInterval = 40;
    uint32_t helloInterval = 10;
    uint32_t passive = 0;
    uint32_t secondaries = 1;
    uint32_t type = 1;
    std::map<uint32_t, uint32_t> metricByTos;
};

struct OspfArea {
    uint32_t summary = 2;
    uint32_t importExt = 1;
    uint32_t nssaSummary = 2;
};

struct OspfNetwork {
    uint32_t ip = 0, wildcard = 0, areaId = 0, areaIdFmt = 0;
};

struct Ospf {
    uint32_t routerId = 0;
    uint32_t autoCost = 100;
    uint32_t maxPaths = 4;
    uint32_t rfc1583 = 1;
    uint32_t spfDelay = 5;
    uint32_t spfHold = 10;
    uint32_t logAdj = 0, logDetail = 0;
    uint32_t stubMode = 0, stubDuration = 0, stubOverride = 0, stubMetric = 0;
    std::map<uint32_t, uint32_t> traps;  // by trap type
    std::map<uint32_t, OspfArea> areas;
    std::map<uint32_t, OspfIntf> intfs;  // by intIfNum
    std::vector<OspfNetwork> networks;
};

struct IpHelper {
    uint32_t mode = 0;
    std::set<std::pair<uint32_t, uint32_t>> global;                    // (server, UDP port)
    std::set<std::tuple<uint32_t, uint32_t, uint32_t>> perIntf;        // (intf, server, UDP port)
    std::set<std::pair<uint32_t, uint32_t>> discards;                  // (intf, UDP port)
};

struct Router {
    uint32_t adminV4 = 1, adminV6 = 0;
    uint32_t redirects = 1, echoReply = 1;
    uint32_t icmpBurst = 100, icmpInterval = 1000;
    std::map<uint32_t, uint32_t> pref4, pref6;  // route preference by index
};

struct Protocol {
    uint32_t family = kFamilyIpv4;
    std::string name, code;
};

struct RouteType {
    uint32_t family = kFamilyIpv4;
    uint32_t protoId = 0;
    std::string name, code;
};

enum ClientKind : uint32_t { kBestRouteClient = 1, kRouterClient = 2, kPolicyClient = 3 };

/// A registered client; best-route clients collect route changes until read.
struct EventClient {
    uint32_t kind = kBestRouteClient;
    uint32_t family = kFamilyIpv4;
    uint32_t pid = 0;
    std::string name;
    std::deque<RouteChange> pending;
};

enum ChangeType : uint32_t { kChangeAdd = 1, kChangeModify = 2, kChangeDelete = 3 };

struct RoutingModel {
    std::map<uint32_t, RouterIntf> intfs;  // by intIfNum
    std::vector<Route> routes;             // in key order
    std::map<uint32_t, ArpEntry> arp;      // by IPv4 address
    Ospf ospf;
    IpHelper helper;
    Router router;
    std::map<uint32_t, Protocol> protocols = {{1, {kFamilyIpv4, "local", "C"}},
                                               {2, {kFamilyIpv4, "static", "S"}},
                                               {3, {kFamilyIpv4, "ospf", "O"}}};
    std::map<uint32_t, RouteType> routeTypes = {{1, {kFamilyIpv4, 1, "connected", "C"}},
                                                {2, {kFamilyIpv4, 2, "static", "S"}}};
    std::map<uint32_t, EventClient> clients;
    uint32_t nextClientId = 1;
};

/// Adds the routing model to the state file's JSON object, and reads it back.
void routingToJson(cJSON* root, const RoutingModel& m);
void routingFromJson(const StateNode& root, RoutingModel* m);

}  // namespace sim
