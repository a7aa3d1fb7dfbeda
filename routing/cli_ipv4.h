// Classes of the CLI-backed route table, IP interface, ARP and statistics routes.
//
// A CLI row names its class and, by name, what the class runs and answers
// (access/cli_row.h): the show command and the stem of its output file, the
// request members read, the CLI text sent and the stem of the script pair,
// the member answered and, with PICKS, which of the class's fields or forms
// the row takes. No two requests share a work file, every one is removed on
// every path, and no request text reaches a script before it has been parsed
// as what it stands for (an address, a MAC address, a number).
#pragma once

#include <cstdint>

#include "access/cli_row.h"
#include "runtime/handler_family.h"

namespace cli4 {

using clirow::CliRow;
using hf::RouteCtx;

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
/// The ARP table views.
enum ArpEntryView : uint8_t { kArpEntryNext, kArpEntryNextWithMac, kArpEntryInfo };
/// Route summary answers.
enum SummaryView : uint8_t { kSummaryEcmpCount, kSummaryTotalCount, kSummaryIpv4Table, kSummaryIpv6Table };

int routeEntryGetNextRow(const RouteCtx& r, const CliRow& row);
int routeLookupFieldRow(const RouteCtx& r, const CliRow& row);
int staticRouteNextRow(const RouteCtx& r, const CliRow& row);
int staticRouteChangeRow(const RouteCtx& r, const CliRow& row);
int ipIntfFieldRow(const RouteCtx& r, const CliRow& row);
int ipIntfAddrMethodRow(const RouteCtx& r, const CliRow& row);
int ipIntfModeSetRow(const RouteCtx& r, const CliRow& row);
int ipIntfNumberSetRow(const RouteCtx& r, const CliRow& row);
int arpFieldRow(const RouteCtx& r, const CliRow& row);
int arpEntryRow(const RouteCtx& r, const CliRow& row);
int arpModeSetRow(const RouteCtx& r, const CliRow& row);
int arpNumberSetRow(const RouteCtx& r, const CliRow& row);
int arpClearRow(const RouteCtx& r, const CliRow& row);
int arpAddressLineRow(const RouteCtx& r, const CliRow& row);
int arpStaticAddRow(const RouteCtx& r, const CliRow& row);
int ipv4StatsRow(const RouteCtx& r, const CliRow& row);
int routeSummaryRow(const RouteCtx& r, const CliRow& row);

/// ip-route-table "entry-get-next" (POST): the connected or static route of
/// SHOW after body `routeDest`/`routeMask` (protocol `routeProto`).
constexpr clirow::RowClass<RouteCtx, routeEntryGetNextRow> routeEntryGetNext{};
/// ip-route-table lookups (GET): the field PICKS (LookupField) of the route
/// given by `routeDest`, `routeMask`, `routeProto`, answered as ANSWERS.
constexpr clirow::RowClass<RouteCtx, routeLookupFieldRow> routeLookupField{};
/// routing "best-route-next" and "route-next": the next static route after
/// the start READS gives (query destination and prefix length; none: the first).
constexpr clirow::RowClass<RouteCtx, staticRouteNextRow> staticRouteNext{};
/// routing static route changes (POST, body `route` and `nextHops`): PICKS
/// (RouteChangeOp) adds with SENDS, deletes with ELSE_SENDS, modifies with both.
constexpr clirow::RowClass<RouteCtx, staticRouteChangeRow> staticRouteChange{};

/// routing-config getters of the field PICKS (IntfField) of SHOW about the
/// port of IN_PORT, answered as ANSWERS.
constexpr clirow::RowClass<RouteCtx, ipIntfFieldRow> ipIntfField{};
/// routing "rtr-intf-ip-addr-method": ANSWERS and `clientIdEnable`.
constexpr clirow::RowClass<RouteCtx, ipIntfAddrMethodRow> ipIntfAddrMethod{};
/// Interface mode setters: "interface <u/s/p>\n[no ]SENDS\nexit\n" as the body
/// member READS enables.
constexpr clirow::RowClass<RouteCtx, ipIntfModeSetRow> ipIntfModeSet{};
/// Interface number setters: SENDS with the number READS, inside the interface.
constexpr clirow::RowClass<RouteCtx, ipIntfNumberSetRow> ipIntfNumberSet{};

/// ARP counters of SHOW: PICKS (ArpField), a single value answered as ANSWERS.
constexpr clirow::RowClass<RouteCtx, arpFieldRow> arpField{};
/// ARP table views of SHOW by the address READS: PICKS (ArpEntryView).
constexpr clirow::RowClass<RouteCtx, arpEntryRow> arpEntry{};
/// Global ARP mode: SENDS when the member READS enables, else ELSE_SENDS.
constexpr clirow::RowClass<RouteCtx, arpModeSetRow> arpModeSet{};
/// Global ARP number: SENDS with the number READS.
constexpr clirow::RowClass<RouteCtx, arpNumberSetRow> arpNumberSet{};
/// ARP clearing: SENDS when the query flag READS is true, else ELSE_SENDS;
/// without READS, SENDS.
constexpr clirow::RowClass<RouteCtx, arpClearRow> arpClear{};
/// One ARP address READS (body or query): SENDS with it.
constexpr clirow::RowClass<RouteCtx, arpAddressLineRow> arpAddressLine{};
/// A static ARP entry: SENDS with the address and the MAC address READS.
constexpr clirow::RowClass<RouteCtx, arpStaticAddRow> arpStaticAdd{};

/// routing "rtr-ipv4-stats": the 44 counters of SHOW.
constexpr clirow::RowClass<RouteCtx, ipv4StatsRow> ipv4Stats{};
/// routing-stats views of a route summary SHOW: PICKS (SummaryView).
constexpr clirow::RowClass<RouteCtx, routeSummaryRow> routeSummary{};

}  // namespace cli4
