// Parser of the switch's layer-3 multicast route summaries ("show ip mroute
// summary", "show ipv6 mroute summary"): a title and headings, then a rule
// whose runs of dashes mark where each column starts, then one line per
// route.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace showparse {

/// One route of a summary table, each column without its blanks; a column
/// the line does not fill (or one too long for the reader) is empty.
struct MrouteRow {
    std::string source, group, protocol, incoming, outgoing;
};

/// Longest text of each column: what a longer source, group, protocol or
/// incoming interface holds is not taken (the column stays empty); an
/// outgoing interface list keeps its first kMrouteOutgoingMax characters.
constexpr size_t kMrouteAddrMax = 127;
constexpr size_t kMrouteShortMax = 63;
constexpr size_t kMrouteOutgoingMax = 255;
/// Most column starts a rule gives.
constexpr size_t kMrouteColumnsMax = 5;
/// Shortest line that can be a route.
constexpr size_t kMrouteLineMin = 10;

/// The routes of a summary text in text order. A line holding "-----" is a
/// rule: the starts of its runs of dashes (the first five) become the
/// columns, replacing any earlier ones. Any other line is a route when a
/// rule of at least four columns came before it, it is at least
/// kMrouteLineMin characters long and its source column is not empty. With
/// four columns the incoming interface runs to the end of the line and
/// there is no outgoing list. Lines are read as clitext::linesOf takes them,
/// each cut at its first carriage return.
std::vector<MrouteRow> mrouteRowsOf(const std::string& text);

// --- IGMP snooping group tables --------------------------------------------------

/// One subscriber of a group: its address and MAC (the word's parts before
/// and after its "/") and the interface it was heard on.
struct SnoopSubscriber {
    std::string ip, mac, interface;
};

/// One group of "show igmpsnooping group": VLAN, the group's address and
/// MAC, the IGMP version, the timeout and every subscriber in text order.
struct SnoopGroupRow {
    int vlan = 0;
    std::string groupIp, groupMac, version;
    long timeout = 0;
    std::vector<SnoopSubscriber> subscribers;
};

/// Longest texts the group table's words keep.
constexpr size_t kSnoopWordMax = 63;
constexpr size_t kSnoopGroupMacMax = 31;
constexpr size_t kSnoopIntfMax = 31;
constexpr size_t kSnoopVersionMax = 15;
/// Most of "show igmpsnooping group" read.
constexpr size_t kSnoopGroupShowCap = 32767;

/// The groups of "show igmpsnooping group". The table starts on the line
/// after the first run of seven dashes (none: no groups). A line of at least
/// 3 characters whose first word is a number opens a group: VLAN,
/// subscriber, group, interface, version, timeout, words split at blanks
/// and tabs; the interface "lag" takes the next word ("lag 2") and the
/// version and timeout move one word on; fewer than four words is no group.
/// A line led by a blank or tab adds its first word as a subscriber of the
/// open group (on that group's interface); before any group it is passed
/// over. `cut`: the text stopped at the read cap, so its last line, unless
/// it ends in a line end, is incomplete and dropped.
std::vector<SnoopGroupRow> snoopGroupsOf(const std::string& text, bool cut);

/// One line of "show igmpsnooping ssm groups".
struct SnoopSsmGroupRow {
    int vlan = 0;
    std::string group, interface, reporter;
    bool include = false;    ///< the filter word is "Include" in any case
    std::string sourceList;  ///< the rest of the line, empty when none
};

constexpr size_t kSsmWordMax = 31;
constexpr size_t kSsmFilterMax = 15;
constexpr size_t kSsmSourceListMax = 255;
/// Most of "show igmpsnooping ssm groups" read.
constexpr size_t kSsmGroupShowCap = 16383;

/// The groups of "show igmpsnooping ssm groups": none when the text says
/// "no entries"; else the lines after the first line holding "----" (none:
/// no groups), each VLAN, group, interface ("lag N" taken whole), reporter,
/// filter word and the rest of the line as the source list; fewer than four
/// words is no group. `cut` as for snoopGroupsOf.
std::vector<SnoopSsmGroupRow> snoopSsmGroupsOf(const std::string& text, bool cut);

}  // namespace showparse
