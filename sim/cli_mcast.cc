// Layer-3 multicast routes in the simulated CLI: "show ip mroute summary"
// and "show ipv6 mroute summary", one table each of the multicast model's
// routes (model_mcast.h): a title, the headings, a rule whose runs of dashes
// stand over the five columns (source, group, protocol, incoming interface,
// outgoing interface list) and one line per route.
#include <string>

#include "sim/cli_engine.h"
#include "sim/cli_show.h"
#include "sim/model_mcast.h"
#include "sim/state.h"

namespace sim {
namespace cli {
namespace {

// Widths of the columns before the outgoing list, which takes the rest.
struct Layout {
    const char* title;
    int address;  // source and group
};
const Layout kIpv4 = {"IPv4 Multicast Route Table Summary", 15};
const Layout kIpv6 = {"IPv6 Multicast Route Table Summary", 39};
constexpr int kProtocolWidth = 8;
constexpr int kIncomingWidth = 16;
constexpr int kOutgoingRule = 20;

// A line without its trailing blanks, ended.
std::string line(std::string text)
{
    text.erase(text.find_last_not_of(' ') + 1);
    return text + "\n";
}

std::string columns(const Layout& l, const std::string& source, const std::string& group,
                    const std::string& protocol, const std::string& incoming, const std::string& outgoing)
{
    return line(format("%-*s  %-*s  %-*s  %-*s  %s", l.address, source.c_str(), l.address, group.c_str(),
                       kProtocolWidth, protocol.c_str(), kIncomingWidth, incoming.c_str(), outgoing.c_str()));
}

std::string joined(const std::vector<std::string>& names)
{
    std::string out;
    for (const std::string& n : names)
        out += (out.empty() ? "" : ",") + n;
    return out;
}

void summary(const Layout& l, const std::vector<McastRoute>& routes, std::string* out)
{
    *out += "\n" + std::string(l.title) + "\n\n";
    *out += columns(l, "", "", "", "Incoming", "Outgoing");
    *out += columns(l, "Source Address", "Group Address", "Protocol", "Interface", "Interface List");
    *out += line(dashes(l.address) + "  " + dashes(l.address) + "  " + dashes(kProtocolWidth) + "  " +
                 dashes(kIncomingWidth) + "  " + dashes(kOutgoingRule));
    for (const McastRoute& r : routes)
        *out += columns(l, r.source, r.group, r.protocol, r.incoming, joined(r.outgoing));
}

bool showIpv4Summary(const SwitchState& st, const Args&, std::string* out)
{
    summary(kIpv4, st.mcast.ipv4Routes, out);
    return true;
}

bool showIpv6Summary(const SwitchState& st, const Args&, std::string* out)
{
    summary(kIpv6, st.mcast.ipv6Routes, out);
    return true;
}

const ShowRegistrar kMcastShowRows[] = {
    {"show ip mroute summary", showIpv4Summary},
    {"show ipv6 mroute summary", showIpv6Summary},
};

}  // namespace
}  // namespace cli
}  // namespace sim
