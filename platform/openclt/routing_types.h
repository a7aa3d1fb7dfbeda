// Records of the routing operations. They cross the wire as raw bytes, so
// every field is fixed-width and every padding byte is spelled out: the
// client on a 32-bit target and the switch control process must agree on the
// layout byte for byte.
#pragma once

#include <stddef.h>
#include <stdint.h>

/// Address families of the routing records.
enum : uint32_t { kFamilyUnset = 0, kFamilyIpv4 = 1, kFamilyIpv6 = 2 };

/// Address of either family; an IPv4 address is the first word, host order.
struct InetAddr {
    uint32_t family;
    uint8_t addr[16];
};

/// Address with a prefix length ("10.1.0.0/16").
struct InetPrefix {
    uint32_t family;
    uint8_t addr[16];
    uint32_t pfxLen;
};

struct MacAddr {
    uint8_t octet[6];
};

/// A route as the routing table manager hands it out.
struct RouteRecord {
    uint32_t family;
    uint8_t destPfx[16];
    uint8_t pfxLen;
    uint8_t routeType;
    uint8_t pad0[2];
    uint32_t protoId;
    uint8_t rejectRoute;
    uint8_t discardRoute;
    uint16_t pref;
    uint32_t metric;
    uint32_t numNextHops;
    uint8_t leakedRoute;
    uint8_t rfc5549Route;
    uint8_t unnumberedRoute;
    uint8_t pad1;
};

struct NextHop {
    uint32_t family;
    uint8_t addr[16];
    uint32_t ifNum;
};

constexpr uint32_t kMaxNextHops = 48;

struct NextHopList {
    NextHop hop[kMaxNextHops];
};

/// One best-route change; `inUse` marks a filled slot of a change set.
struct RouteChange {
    uint32_t chType;
    RouteRecord route;
    NextHopList nextHops;
    uint32_t inUse;
};

constexpr uint32_t kRouteChangeSlots = 50;

struct RouteChangeSet {
    RouteChange slot[kRouteChangeSlots];
};

static_assert(sizeof(InetAddr) == 20, "InetAddr layout");
static_assert(sizeof(InetPrefix) == 24, "InetPrefix layout");
static_assert(sizeof(MacAddr) == 6, "MacAddr layout");
static_assert(sizeof(RouteRecord) == 44, "RouteRecord layout");
static_assert(sizeof(NextHop) == 24, "NextHop layout");
static_assert(sizeof(NextHopList) == 1152, "NextHopList layout");
static_assert(sizeof(RouteChange) == 1204, "RouteChange layout");
static_assert(sizeof(RouteChangeSet) == 60200, "RouteChangeSet layout");
static_assert(offsetof(RouteRecord, protoId) == 24 && offsetof(RouteRecord, pref) == 30 &&
                  offsetof(RouteRecord, metric) == 32 && offsetof(RouteRecord, numNextHops) == 36 &&
                  offsetof(RouteRecord, leakedRoute) == 40,
              "RouteRecord field offsets");
static_assert(offsetof(RouteChange, nextHops) == 48 && offsetof(RouteChange, inUse) == 1200, "RouteChange offsets");
