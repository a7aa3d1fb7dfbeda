// The route table: routes with their next hops, kept in key order, and the
// clients told of each change; static routes with the one rule set that the
// control API operations and the CLI's "ip route" commands both apply; the
// router settings, registered protocols and route types.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "platform/openclt/routing_types.h"
#include "sim/state_schema.h"

namespace sim {

struct SwitchState;
struct RoutingModel;
struct IntfAddr;

/// A route: its record (key: family, prefix, length) and its next hops.
struct Route {
    RouteRecord rec{};
    std::vector<NextHop> hops;
};

/// Routes the table holds at most.
constexpr uint32_t kMaxRoutes = 8192;
/// Next hops a route holds at most (equal-cost paths): the platform's limit,
/// OSPF's largest and default "maximum-paths" alike.
constexpr uint32_t kMaxEqualCostPaths = 4;

/// Protocol numbers of the built-in protocols.
enum : uint32_t { kProtoLocal = 1, kProtoStatic = 2, kProtoOspf = 3 };

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

/// Route table order: family, prefix (IPv4 numerically), prefix length.
bool routeKeyLess(const RouteRecord& a, const RouteRecord& b);
/// The key of a route to a prefix, its host bits cleared.
RouteRecord routeKey(uint32_t family, const uint8_t* addr, uint32_t pfxLen);
std::vector<Route>::iterator findRoute(RoutingModel& m, const RouteRecord& key);
/// Inserts a route in order / removes one / tells of a change, queueing the
/// change for the best-route clients of its family.
void routeTableInsert(RoutingModel& m, const Route& r);
void routeTableErase(RoutingModel& m, std::vector<Route>::iterator it);
void routeTableNotify(RoutingModel& m, uint32_t changeType, const Route& r);
/// The connected route of an interface address.
Route connectedRoute(uint32_t intIfNum, const IntfAddr& a);

/// What became of a static route change.
enum class StaticVerdict {
    kAdded,       // a new route
    kUpdated,     // a next hop more, or a new preference
    kUnchanged,   // the route has that next hop and preference already
    kBadPrefix,   // family or prefix length
    kBadHop,      // not a unicast address of the route's family
    kBadPref,     // not 1-255
    kBadIntf,     // an interface the switch does not have
    kNotStatic,   // a route of another protocol has the prefix
    kHopsFull,    // the route has as many next hops as it can
    kNotFound,    // no static route to the prefix
    kHopNotFound  // the static route has no such next hop
};

/// Adds a static route, or a next hop to the static route of the prefix.
/// One route per prefix, one next hop per gateway address; the route takes
/// the preference of its latest change. A next hop without an interface
/// (ifNum 0) goes through the routing interface whose subnet holds it.
StaticVerdict staticRouteAdd(SwitchState& st, uint32_t family, const uint8_t* prefix, uint32_t pfxLen, NextHop hop,
                             uint32_t pref);
/// Removes one next hop of a static route (the route with its last one),
/// or the whole route when `hop` is null.
StaticVerdict staticRouteDelete(SwitchState& st, uint32_t family, const uint8_t* prefix, uint32_t pfxLen,
                                const uint8_t* hop);

/// The records of this area in the state file.
extern const schema::Table<Route> kRouteTable;
extern const schema::Table<Router> kRouterTable;
extern const schema::Table<Protocol> kProtocolTable;
extern const schema::Table<RouteType> kRouteTypeTable;
extern const schema::Table<EventClient> kEventClientTable;

}  // namespace sim
