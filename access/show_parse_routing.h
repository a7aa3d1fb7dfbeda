// Parsers of routing show output: route tables and summaries, IP interfaces,
// ARP, IPv4 statistics, IPv6 and router advertisement labels, the IP helper
// table and statistics. Each takes the whole text of one show command and
// gives what it found; none runs a command or touches a file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace showparse {

// --- Route table and summary -------------------------------------------------

/// One route line of "show ip route" (" %3s %63s %255[^\n]").
struct RouteLine {
    char code = 0;             // 'C' connected, 'S' static
    std::string dest;          // destination as printed
    uint32_t destNum = 0;      // host order
    uint32_t pfxLen = 0;
    uint32_t pref = 0, metric = 0;
    std::string nextHop;       // after "via ", cut at ","; empty when none
    std::string intf;          // after "connected," or the next hop's comma
};
/// The connected and static route lines of a "show ip route" text, in order.
std::vector<RouteLine> routeLines(const std::string& text);

/// The 24 counters of "show ip route summary" / "show ipv6 route summary".
struct RouteSummary {
    uint32_t connected = 0, staticRoutes = 0, rip = 0, ospf = 0, reject = 0, failed = 0, kernelFailed = 0;
    uint32_t hardwareFailed = 0, ecmpRoutes = 0, total = 0, alternate = 0, adds = 0, modifies = 0, deletes = 0;
    uint32_t invalidAdds = 0, unresolved = 0, reserved = 0, bestHigh = 0, nextHops = 0, nextHopsHigh = 0;
    uint32_t nhGroups = 0, nhGroupsHigh = 0, ecmpGroups = 0, ecmpGroupsHigh = 0;
};
RouteSummary routeSummaryOf(const std::string& text);

// --- IP interface --------------------------------------------------------------

/// IP interface record of "show ip interface <u/s/p>": modes 1 (E...), 0
/// (D...), -1 (absent or other).
struct IpIntfRecord {
    int routingMode = -1, adminMode = -1, netDirBcast = -1, destUnreach = -1, redirects = -1;
    int proxyArp = -1, localProxyArp = -1, autoState = -1;
    int active = 0, status = 0;  // "Active..." / "Up..."
    bool hasMtu = false, hasBandwidth = false;
    uint32_t ipMtu = 0, bandwidth = 0;
};
IpIntfRecord ipIntfRecordOf(const std::string& text);
/// The address method of the same output's "Method" line: 2 for a value
/// beginning with a lower-case d, 1 for m, else (and without the line) 0.
uint32_t ipIntfAddrMethodOf(const std::string& text);

// --- ARP -------------------------------------------------------------------------

/// ARP cache counters of "show arp" / "show arp brief".
struct ArpBrief {
    uint32_t ageTime = 0, responseTime = 0, retries = 0, cacheSize = 0, dynamicRenew = 0;
    uint32_t current = 0, peak = 0;
    uint32_t configured = 0, active = 0, max = 0;
};
ArpBrief arpBriefOf(const std::string& text);

/// One table line of "show arp".
struct ArpLine {
    uint32_t ip = 0;
    std::string mac;   // "aa:bb:cc:dd:ee:ff"
    std::string intf;  // "1/0/5", "vlan 10"
    std::string type;  // "Static", "Dynamic", "Local", "Gateway"
    uint32_t age = 0;  // seconds
};
std::vector<ArpLine> arpLines(const std::string& text);

// --- Counters by label -------------------------------------------------------------

/// A counter and the answer member it is known by.
struct Counter {
    const char* member;
    uint64_t value;
};
/// The counters of "show ip stats" in output order: every line that starts
/// with one of the 44 labels, its value as an unsigned 64-bit number.
std::vector<Counter> ipStatsOf(const std::string& text);
/// The 11 relay counters of "show ip helper statistics", in answer order; a
/// label missing from the output counts 0.
std::vector<Counter> helperStatsOf(const std::string& text);

// --- Label values --------------------------------------------------------------------

/// How a label's value becomes a number.
enum ValueConv : uint8_t {
    kNumber,      // decimal (none: 0)
    kMode,        // 1 for a value beginning with E, T or Y, else 0
    kYesNo,       // the same, answered as JSON true/false
    kEnableText,  // the same, answered as "enable"/"disable"
    kThirdOf,     // an interval's decimal value × 33 / 100
    kPreference,  // 1 for a value beginning with H, 2 for L, else 0
    kIntfRef,     // an interface name, looked up by the caller (here: decimal)
};
uint32_t convertValue(const std::string& value, ValueConv conv);
/// The value of the first of the "|"-separated labels found; false (and an
/// empty value) when none is.
bool labelsValue(const std::string& text, const char* labels, std::string* value);

// --- IPv6 interfaces -------------------------------------------------------------------

/// The VLAN behind the first "vlan N" line after the dashed separator of
/// "show ipv6 interface brief"; 0 for none.
uint32_t firstVlanLine(const std::string& text);
/// The leading number of the first line of "show ipv6 vlan" that begins with
/// a digit and whose number is above `prev`; 0 for none.
uint32_t nextVlanLine(const std::string& text, uint32_t prev);

// --- IP helper ---------------------------------------------------------------------------

/// One table line of "show ip helper-address".
struct HelperEntry {
    std::string intf;  // as listed: "1/0/5", "lag 2", "Any"
    uint32_t udpPort = 0;
    uint32_t server = 0;  // host order
    bool discard = false;
    uint32_t hits = 0;
};
/// The table lines of a "show ip helper-address" output, in output order.
std::vector<HelperEntry> helperEntries(const std::string& text);
/// A UDP port as the table lists it: "dhcp" 67, "domain" and "dns" 53, else decimal.
uint32_t udpPortOf(const std::string& text);

}  // namespace showparse
