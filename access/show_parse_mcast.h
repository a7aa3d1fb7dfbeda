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

}  // namespace showparse
