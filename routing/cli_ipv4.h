// Classes of the CLI-backed route table, IP interface, ARP and statistics routes.
//
// Each route is one CLI row naming a class below and the row's own words:
// the field it answers, the request member it reads, the CLI words it sends
// and the key token of its work files. Views run a show command into a work
// file of their own ("oxel_out_show_<what>_<pid>_<n>") and read it line by
// line; changes write a script into "oxel_in_<word>_<token>_<pid>_<n>" and
// apply it. No two requests share a work file, every one is removed on every
// path, and no request text reaches a script before it has been parsed as
// what it stands for (an address, a MAC address, a number).
#pragma once

#include <cstdint>
#include "routing/route_classes.h"

namespace cli4 {

// --- Classes ---------------------------------------------------------------

/// The field a route lookup answers.
enum LookupField : uint8_t { kLookupMetric, kLookupNextHopIntf, kLookupNextHopAddr };
/// Static route changes of "routing".
enum RouteChangeOp : uint8_t { kRouteAdd, kRouteModify, kRouteDelete };
/// IP interface record fields answered by the routing-config getters.
enum IntfField : uint8_t {
    kIntfRoutingMode, kIntfNetDirBcast, kIntfDestUnreach, kIntfRedirects, kIntfProxyArp, kIntfLocalProxyArp,
    kIntfAutoState, kIntfOperState, kIntfIpMtu, kIntfBandwidth
};
/// ARP counters answered by the label getters.
enum ArpField : uint8_t {
    kArpAgeTime, kArpResponseTime, kArpRetries, kArpCacheSize, kArpDynamicRenew,
    kArpTotalCounts,   // current, peak
    kArpStaticCounts,  // configured, active, max
    kArpCacheStats,    // cacheCurrent, cachePeak, staticMax
};
/// Where the ARP counters are read: "show arp" or "show arp brief".
enum ArpSource : uint8_t { kArpShow, kArpShowBrief };
/// The ARP table views.
enum ArpEntryView : uint8_t { kArpEntryNext, kArpEntryNextWithMac, kArpEntryInfo };
/// Route summary answers.
enum SummaryView : uint8_t { kSummaryEcmpCount, kSummaryTotalCount, kSummaryTable };
/// Address family of a route summary.
enum Family : uint8_t { kIpv4, kIpv6 };

/// ip-route-table "entry-get-next" (POST): the connected or static route
/// after `routeDest`/`routeMask` in "show ip route" order.
int routeEntryGetNext(const route::RouteCtx& r);
/// ip-route-table "metric", "next-hop-intf", "next-hop-addr" (GET): one field
/// of the route given by `routeDest`, `routeMask`, `routeProto`.
int routeLookupField(const route::RouteCtx& r, LookupField field);
/// routing "best-route-next" (no start) and "route-next" (query `destPfx`,
/// `pfxLen`): the next static route as a route object and next-hop list.
int staticRouteNext(const route::RouteCtx& r, bool readsStart);
/// routing "route", "route-add-vr", "route-mod", "route-del" (POST).
int staticRouteChange(const route::RouteCtx& r, RouteChangeOp op, const char* token);

/// routing-config getters of one IP interface record field (query `query`),
/// answered as `member`.
int ipIntfField(const route::RouteCtx& r, const char* query, IntfField field, const char* member);
/// routing "rtr-intf-ip-addr-method": `addrMethod` and `clientIdEnable`.
int ipIntfAddrMethod(const route::RouteCtx& r);
/// routing-config interface mode setters: "interface <u/s/p>\n[no ]<line>\nexit\n".
int ipIntfModeSet(const route::RouteCtx& r, const char* query, const char* member, const char* line,
                  const char* token);
/// routing-config interface number setters: "interface <u/s/p>\n<words> <n>\nexit\n".
int ipIntfNumberSet(const route::RouteCtx& r, const char* query, const char* member, const char* words,
                    const char* token);

/// ARP counters from "show arp" or "show arp brief"; `member` names a
/// single-value field.
int arpField(const route::RouteCtx& r, ArpSource source, ArpField field, const char* member);
/// ARP table views by query `ipAddr`.
int arpEntry(const route::RouteCtx& r, ArpEntryView view);
/// Global ARP mode: "<line>\n" when body `member` enables, else "no <line>\n".
int arpModeSet(const route::RouteCtx& r, const char* member, const char* line, const char* token);
/// Global ARP number: "<words> <n>\n" from body `member`.
int arpNumberSet(const route::RouteCtx& r, const char* member, const char* words, const char* token);
/// ARP clearing: "<line> <flagWord>\n" when query `flag` is true, else "<line>\n".
int arpClear(const route::RouteCtx& r, const char* flag, const char* flagWord, const char* line, const char* token);
/// One ARP address: "<words> <a.b.c.d>\n" from `member` of the body (POST) or
/// query (DELETE).
int arpAddressLine(const route::RouteCtx& r, const char* member, const char* words, const char* token);
/// A static ARP entry: "<words> <a.b.c.d> <mac>\n".
int arpStaticAdd(const route::RouteCtx& r, const char* addrMember, const char* macMember, const char* words,
                 const char* token);

/// routing "rtr-ipv4-stats": the 44 counters of "show ip stats".
int ipv4Stats(const route::RouteCtx& r);
/// routing-stats views of "show ip route summary" / "show ipv6 route summary".
int routeSummary(const route::RouteCtx& r, Family family, SummaryView view);

}  // namespace cli4
