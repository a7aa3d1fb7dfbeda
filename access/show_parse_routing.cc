// Parsers of routing show output.
#include "access/show_parse_routing.h"

#include <strings.h>

#include <cctype>
#include <cstdio>
#include <cstring>

#include "access/cli_text.h"
#include "runtime/text_convert.h"

namespace showparse {

namespace {

std::string trimmed(std::string s)
{
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.pop_back();
    return s;
}

// Whether a line starts with `label` at `from` and the label ends there (the
// next character is no letter or digit).
bool labelAt(const std::string& line, size_t from, const char* label)
{
    size_t n = strlen(label);
    if (line.compare(from, n, label) != 0)
        return false;
    return from + n >= line.size() || !isalnum(static_cast<unsigned char>(line[from + n]));
}

// The text after a label: blanks, tabs and dots skipped.
const char* valueAfter(const std::string& line, size_t at)
{
    const char* p = line.c_str() + at;
    while (*p == ' ' || *p == '\t' || *p == '.')
        ++p;
    return p;
}

// The number right after the first "(" of a line; 0 when there is none.
uint32_t afterParen(const std::string& line)
{
    size_t p = line.find('(');
    return p == std::string::npos ? 0 : conv::decimalLoose(line.c_str() + p + 1);
}

// A mode of the IP interface record: 1 for E..., 0 for D..., -1 otherwise.
int intfModeOf(const std::string& text, const char* label)
{
    std::string v;
    if (!clitext::labelValue(text, label, &v) || v.empty())
        return -1;
    return v[0] == 'E' || v[0] == 'e' ? 1 : v[0] == 'D' || v[0] == 'd' ? 0 : -1;
}

// The lines of a text as they stand (no length limit), without their "\n".
std::vector<std::string> wholeLines(const std::string& text)
{
    std::vector<std::string> out;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t eol = text.find('\n', pos);
        out.push_back(text.substr(pos, eol == std::string::npos ? std::string::npos : eol - pos));
        pos = eol == std::string::npos ? text.size() : eol + 1;
    }
    return out;
}

const char* const kIpStatsLabels[] = {
    "IpInReceives",     "IpInHdrErrors",      "IpInAddrErrors",      "IpForwDatagrams",     "IpInUnknownProtos",
    "IpInDiscards",     "IpInDelivers",       "IpOutRequests",       "IpOutDiscards",       "IpOutNoRoutes",
    "IpReasmTimeout",   "IpReasmReqds",       "IpReasmOKs",          "IpReasmFails",        "IpFragOKs",
    "IpFragFails",      "IpFragCreates",      "IpRoutingDiscards",   "IcmpInMsgs",          "IcmpInErrors",
    "IcmpInDestUnreachs", "IcmpInTimeExcds",  "IcmpInParmProbs",     "IcmpInSrcQuenchs",    "IcmpInRedirects",
    "IcmpInEchos",      "IcmpInEchoReps",     "IcmpInTimestamps",    "IcmpInTimestampReps", "IcmpInAddrMasks",
    "IcmpInAddrMaskReps", "IcmpOutMsgs",      "IcmpOutErrors",       "IcmpOutDestUnreachs", "IcmpOutTimeExcds",
    "IcmpOutParmProbs", "IcmpOutSrcQuenchs",  "IcmpOutRedirects",    "IcmpOutEchos",        "IcmpOutEchoReps",
    "IcmpOutTimestamps", "IcmpOutTimestampReps", "IcmpOutAddrMasks", "IcmpOutAddrMaskReps",
};
// Their answer members: the label with a lower-case first letter, except
// IpOutNoRoutes, which is answered as ipNoRoutes.
const char* const kIpStatsMembers[] = {
    "ipInReceives",     "ipInHdrErrors",      "ipInAddrErrors",      "ipForwDatagrams",     "ipInUnknownProtos",
    "ipInDiscards",     "ipInDelivers",       "ipOutRequests",       "ipOutDiscards",       "ipNoRoutes",
    "ipReasmTimeout",   "ipReasmReqds",       "ipReasmOKs",          "ipReasmFails",        "ipFragOKs",
    "ipFragFails",      "ipFragCreates",      "ipRoutingDiscards",   "icmpInMsgs",          "icmpInErrors",
    "icmpInDestUnreachs", "icmpInTimeExcds",  "icmpInParmProbs",     "icmpInSrcQuenchs",    "icmpInRedirects",
    "icmpInEchos",      "icmpInEchoReps",     "icmpInTimestamps",    "icmpInTimestampReps", "icmpInAddrMasks",
    "icmpInAddrMaskReps", "icmpOutMsgs",      "icmpOutErrors",       "icmpOutDestUnreachs", "icmpOutTimeExcds",
    "icmpOutParmProbs", "icmpOutSrcQuenchs",  "icmpOutRedirects",    "icmpOutEchos",        "icmpOutEchoReps",
    "icmpOutTimestamps", "icmpOutTimestampReps", "icmpOutAddrMasks", "icmpOutAddrMaskReps",
};
static_assert(sizeof kIpStatsLabels / sizeof kIpStatsLabels[0] == 44, "the 44 labels of show ip stats");
static_assert(sizeof kIpStatsMembers == sizeof kIpStatsLabels, "one member per label");

const struct {
    const char* label;
    const char* member;
} kHelperCounters[] = {
    {"DHCP client messages received", "dhcpClientMsgsReceived"},
    {"DHCP client messages relayed", "dhcpClientMsgsRelayed"},
    {"DHCP server messages received", "dhcpServerMsgsReceived"},
    {"DHCP server messages relayed", "dhcpServerMsgsRelayed"},
    {"UDP client messages received", "udpClientMsgsReceived"},
    {"UDP client messages relayed", "udpClientMsgsRelayed"},
    {"Hops too many", "tooManyHops"},
    {"Wait time too early", "tooEarly"},
    {"Spoofed gateway address", "spoofedGiaddr"},
    {"TTL Expired", "ttlExpired"},
    {"Match discard", "matchDiscardEntry"},
};

}  // namespace

// --- Route table and summary -------------------------------------------------

std::vector<RouteLine> routeLines(const std::string& text)
{
    std::vector<RouteLine> out;
    for (const std::string& line : clitext::linesOf(text)) {
        char code[4], pfx[64], rest[256];
        if (sscanf(line.c_str(), " %3s %63s %255[^\n]", code, pfx, rest) != 3)
            continue;
        if (strcmp(code, "C") != 0 && strcmp(code, "S") != 0)
            continue;
        char dest[46];
        int len = -1;
        if (sscanf(pfx, "%45[^/]/%d", dest, &len) != 2 || len < 0 || len > 32)
            continue;
        RouteLine l;
        l.code = code[0];
        l.dest = dest;
        l.pfxLen = static_cast<uint32_t>(len);
        if (!conv::parseIpv4(l.dest, &l.destNum))
            continue;
        std::string r = rest;
        size_t b = r.find('[');
        if (b != std::string::npos)
            sscanf(r.c_str() + b, "[%u/%u]", &l.pref, &l.metric);
        size_t intfAt = std::string::npos;
        size_t via = r.find("via ");
        if (via != std::string::npos) {
            char hop[46] = {0};
            if (sscanf(r.c_str() + via + 4, "%45s", hop) == 1) {
                l.nextHop = hop;
                l.nextHop = l.nextHop.substr(0, l.nextHop.find(','));
            }
            size_t comma = r.find(',', via);
            if (comma != std::string::npos)
                intfAt = comma + 1;
        } else {
            size_t c = r.find("connected,");
            if (c != std::string::npos)
                intfAt = c + strlen("connected,");
        }
        if (intfAt != std::string::npos) {
            size_t s = r.find_first_not_of(" \t", intfAt);
            if (s != std::string::npos)
                l.intf = trimmed(r.substr(s, 31));
        }
        out.push_back(l);
    }
    return out;
}

RouteSummary routeSummaryOf(const std::string& text)
{
    RouteSummary s;
    struct Counter {
        const char* label;
        uint32_t* value;
        uint32_t* high;  // the number after "(", or nullptr
    } counters[] = {
        {"Connected Routes", &s.connected, nullptr},
        {"Static Routes", &s.staticRoutes, nullptr},
        {"RIP Routes", &s.rip, nullptr},
        {"OSPF Routes", &s.ospf, nullptr},
        {"Reject Routes", &s.reject, nullptr},
        {"Failed Route Adds", &s.failed, nullptr},
        {"Failed Kernel Route Adds", &s.kernelFailed, nullptr},
        {"Kernel Failed Route Adds", &s.kernelFailed, nullptr},
        {"Hardware Failed Route Adds", &s.hardwareFailed, nullptr},
        {"ECMP Routes", &s.ecmpRoutes, nullptr},
        {"Total routes", &s.total, nullptr},
        {"Alternate Routes", &s.alternate, nullptr},
        {"Route Adds", &s.adds, nullptr},
        {"Route Modifies", &s.modifies, nullptr},
        {"Route Deletes", &s.deletes, nullptr},
        {"Invalid Route Adds", &s.invalidAdds, nullptr},
        {"Unresolved Route Adds", &s.unresolved, nullptr},
        {"Reserved Locals", &s.reserved, nullptr},
        {"Best Routes", nullptr, &s.bestHigh},
        {"Unique Next Hops", &s.nextHops, &s.nextHopsHigh},
        {"Next Hop Groups", &s.nhGroups, &s.nhGroupsHigh},
        {"ECMP Groups", &s.ecmpGroups, &s.ecmpGroupsHigh},
    };
    for (const std::string& line : clitext::linesOf(text)) {
        for (const Counter& c : counters) {
            if (!labelAt(line, 0, c.label))
                continue;
            if (c.value)
                *c.value = conv::decimalLoose(valueAfter(line, strlen(c.label)));
            if (c.high)
                *c.high = afterParen(line);
            break;
        }
    }
    return s;
}

// --- IP interface ----------------------------------------------------------------

IpIntfRecord ipIntfRecordOf(const std::string& text)
{
    IpIntfRecord rec;
    std::string v;
    rec.routingMode = intfModeOf(text, "Routing Mode");
    rec.adminMode = intfModeOf(text, "Administrative Mode");
    rec.netDirBcast = intfModeOf(text, "Forward Net Directed Broadcasts");
    rec.destUnreach = intfModeOf(text, "Destination Unreachables");
    rec.redirects = intfModeOf(text, "ICMP Redirects");
    rec.proxyArp = intfModeOf(text, "Proxy ARP");
    rec.localProxyArp = intfModeOf(text, "Local Proxy ARP");
    rec.autoState = intfModeOf(text, "Auto-State Mode");
    rec.active = clitext::labelValue(text, "Active State", &v) && !v.empty() && v[0] == 'A' ? 1 : 0;
    rec.status = clitext::labelValue(text, "Routing Interface Status", &v) && !v.empty() && v[0] == 'U' ? 1 : 0;
    if (clitext::labelValue(text, "IP MTU", &v)) {
        rec.hasMtu = true;
        rec.ipMtu = conv::decimalLoose(v);
    }
    if (clitext::labelValue(text, "Bandwidth", &v)) {
        rec.hasBandwidth = true;
        rec.bandwidth = conv::decimalLoose(v);
    }
    return rec;
}

uint32_t ipIntfAddrMethodOf(const std::string& text)
{
    std::string v;
    if (!clitext::labelValue(text, "Method", &v) || v.empty())
        return 0;
    return v[0] == 'd' ? 2 : v[0] == 'm' ? 1 : 0;
}

// --- ARP ---------------------------------------------------------------------------

ArpBrief arpBriefOf(const std::string& text)
{
    ArpBrief b;
    std::string v;
    if (clitext::labelValue(text, "Age Time (seconds)", &v))
        b.ageTime = conv::decimalLoose(v);
    if (clitext::labelValue(text, "Response Time (seconds)", &v))
        b.responseTime = conv::decimalLoose(v);
    if (clitext::labelValue(text, "Retries", &v))
        b.retries = conv::decimalLoose(v);
    if (clitext::labelValue(text, "Cache Size", &v))
        b.cacheSize = conv::decimalLoose(v);
    if (clitext::labelValue(text, "Dynamic Renew Mode", &v))
        b.dynamicRenew = clitext::modeOf(v);
    if (clitext::labelValue(text, "Total Entry Count Current / Peak", &v) &&
        sscanf(v.c_str(), "%u / %u", &b.current, &b.peak) != 2)
        b.peak = 0;
    if (clitext::labelValue(text, "Static Entry Count Configured / Active / Max", &v) &&
        sscanf(v.c_str(), "%u / %u / %u", &b.configured, &b.active, &b.max) != 3)
        b.max = 0;
    return b;
}

std::vector<ArpLine> arpLines(const std::string& text)
{
    std::vector<ArpLine> out;
    for (const std::string& line : clitext::linesOf(text)) {
        std::vector<std::string> w;
        size_t i = 0;
        while (i < line.size()) {
            size_t s = line.find_first_not_of(" \t", i);
            if (s == std::string::npos)
                break;
            size_t e = line.find_first_of(" \t", s);
            w.push_back(line.substr(s, e == std::string::npos ? std::string::npos : e - s));
            i = e == std::string::npos ? line.size() : e;
        }
        ArpLine l;
        uint8_t mac[6];
        if (w.size() < 4 || !conv::parseIpv4(w[0], &l.ip) || !conv::parseMac(w[1], mac))
            continue;
        l.mac = conv::macText(mac);
        size_t k = 2;
        l.intf = w[k++];
        if ((strcasecmp(l.intf.c_str(), "vlan") == 0 || strcasecmp(l.intf.c_str(), "lag") == 0) && k < w.size())
            l.intf += " " + w[k++];
        if (k >= w.size())
            continue;
        l.type = w[k++];
        unsigned h = 0, m = 0, s = 0;
        if (k + 2 < w.size() && sscanf((w[k] + " " + w[k + 1] + " " + w[k + 2]).c_str(), "%uh %um %us", &h, &m, &s) == 3)
            l.age = h * 3600 + m * 60 + s;
        out.push_back(l);
    }
    return out;
}

// --- Counters by label -----------------------------------------------------------------

std::vector<Counter> ipStatsOf(const std::string& text)
{
    std::vector<Counter> out;
    for (const std::string& line : clitext::linesOf(text)) {
        size_t from = line.find_first_not_of(" \t");
        if (from == std::string::npos)
            continue;
        for (size_t i = 0; i < sizeof kIpStatsLabels / sizeof kIpStatsLabels[0]; ++i) {
            if (!labelAt(line, from, kIpStatsLabels[i]))
                continue;
            uint64_t v = 0;
            for (const char* p = valueAfter(line, from + strlen(kIpStatsLabels[i])); *p >= '0' && *p <= '9'; ++p)
                v = v * 10 + static_cast<uint64_t>(*p - '0');
            out.push_back({kIpStatsMembers[i], v});
            break;
        }
    }
    return out;
}

std::vector<Counter> helperStatsOf(const std::string& text)
{
    std::vector<Counter> out;
    for (const auto& k : kHelperCounters) {
        std::string v;
        out.push_back({k.member, clitext::labelValue(text, k.label, &v) ? conv::decimalLoose(v) : 0u});
    }
    return out;
}

// --- Label values ------------------------------------------------------------------------

uint32_t convertValue(const std::string& value, ValueConv conv)
{
    switch (conv) {
    case kNumber:
    case kIntfRef:
        return conv::decimalLoose(value);
    case kMode:
    case kYesNo:
    case kEnableText:
        return clitext::modeOf(value);
    case kThirdOf:
        return static_cast<uint32_t>(static_cast<uint64_t>(conv::decimalLoose(value)) * 33 / 100);
    case kPreference:
        if (value.empty())
            return 0;
        return value[0] == 'H' || value[0] == 'h' ? 1 : value[0] == 'L' || value[0] == 'l' ? 2 : 0;
    }
    return 0;
}

bool labelsValue(const std::string& text, const char* labels, std::string* value)
{
    std::string list = labels;
    for (size_t start = 0; start <= list.size();) {
        size_t bar = list.find('|', start);
        std::string label = list.substr(start, bar == std::string::npos ? std::string::npos : bar - start);
        if (!label.empty() && clitext::labelValue(text, label.c_str(), value))
            return true;
        start = bar == std::string::npos ? list.size() + 1 : bar + 1;
    }
    value->clear();
    return false;
}

// --- IPv6 interfaces -----------------------------------------------------------------------

uint32_t firstVlanLine(const std::string& text)
{
    bool afterSeparator = false;
    for (const std::string& line : wholeLines(text)) {
        if (!afterSeparator) {
            afterSeparator = !line.empty() && line[0] == '-' && line.find_first_not_of("- \t\r") == std::string::npos;
            continue;
        }
        if (line.size() > 5 && strncasecmp(line.c_str(), "vlan ", 5) == 0) {
            uint32_t v = conv::decimalLoose(line.substr(5));
            if (v)
                return v;
        }
    }
    return 0;
}

uint32_t nextVlanLine(const std::string& text, uint32_t prev)
{
    for (const std::string& line : wholeLines(text)) {
        if (line.empty() || line[0] < '0' || line[0] > '9')
            continue;
        uint32_t v = conv::decimalLoose(line);
        if (v > prev)
            return v;
    }
    return 0;
}

// --- IP helper ---------------------------------------------------------------------------

uint32_t udpPortOf(const std::string& text)
{
    if (strcasecmp(text.c_str(), "dhcp") == 0)
        return 67;
    if (strcasecmp(text.c_str(), "domain") == 0 || strcasecmp(text.c_str(), "dns") == 0)
        return 53;
    return conv::decimalLoose(text);
}

std::vector<HelperEntry> helperEntries(const std::string& text)
{
    std::vector<HelperEntry> out;
    for (const std::string& line : wholeLines(text)) {
        char intf[24], port[16], server[16], discard[8];
        unsigned hits = 0;
        unsigned lagOrVlan = 0;
        char word[8];
        HelperEntry e;
        // A LAG or VLAN is listed as two words ("lag 2"): read them as one name.
        if (sscanf(line.c_str(), " %7s %u %15s %15s %7s %u", word, &lagOrVlan, port, server, discard, &hits) == 6 &&
            (strcmp(word, "lag") == 0 || strcmp(word, "vlan") == 0)) {
            e.intf = std::string(word) + " " + std::to_string(lagOrVlan);
        } else if (sscanf(line.c_str(), " %23s %15s %15s %7s %u", intf, port, server, discard, &hits) == 5) {
            e.intf = intf;
        } else {
            continue;
        }
        // Headers, separators and label lines have no server address.
        if (!conv::parseIpv4(server, &e.server))
            continue;
        e.udpPort = udpPortOf(port);
        e.discard = clitext::modeOf(discard) == 1;
        e.hits = hits;
        out.push_back(e);
    }
    return out;
}

}  // namespace showparse
