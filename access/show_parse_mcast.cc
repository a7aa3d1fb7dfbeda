// Parser of the layer-3 multicast route summaries (access/show_parse_mcast.h).
#include "access/show_parse_mcast.h"

#include <algorithm>

#include "access/cli_text.h"

namespace showparse {

namespace {

// The starts of the runs of dashes of a rule line, at most kMrouteColumnsMax.
std::vector<size_t> columnStarts(const std::string& line)
{
    std::vector<size_t> starts;
    for (size_t i = 0; i < line.size() && starts.size() < kMrouteColumnsMax; ++i)
        if (line[i] == '-' && (i == 0 || line[i - 1] != '-'))
            starts.push_back(i);
    return starts;
}

bool blank(char c) { return c == ' ' || c == '\t'; }

// The characters [from, to) of the line (clipped to it), without leading
// and trailing blanks.
std::string cell(const std::string& line, size_t from, size_t to)
{
    if (to > line.size())
        to = line.size();
    while (from < to && blank(line[from]))
        ++from;
    while (to > from && blank(line[to - 1]))
        --to;
    return from < to ? line.substr(from, to - from) : std::string();
}

// A column held only when it fits its reader: a longer one is not taken.
std::string bounded(std::string v, size_t max) { return v.size() <= max ? v : std::string(); }

MrouteRow rowOf(const std::string& line, const std::vector<size_t>& c)
{
    const size_t len = line.size();
    const bool five = c.size() >= 5;
    MrouteRow r;
    r.source = bounded(cell(line, c[0], c[1]), kMrouteAddrMax);
    r.group = bounded(cell(line, c[1], c[2]), kMrouteAddrMax);
    r.protocol = bounded(cell(line, c[2], c[3]), kMrouteShortMax);
    r.incoming = bounded(cell(line, c[3], five ? c[4] : len), kMrouteShortMax);
    if (five) {
        std::string out = cell(line, c[4], len);
        if (out.size() > kMrouteOutgoingMax)
            out = cell(out, 0, kMrouteOutgoingMax);
        r.outgoing = out;
    }
    return r;
}

}  // namespace

std::vector<MrouteRow> mrouteRowsOf(const std::string& text)
{
    std::vector<MrouteRow> rows;
    std::vector<size_t> columns;  // none until a rule is read
    for (std::string line : clitext::linesOf(text)) {
        line.erase(std::min(line.find('\r'), line.size()));  // a line ends at its first CR too
        if (line.find("-----") != std::string::npos) {
            columns = columnStarts(line);
            continue;
        }
        if (columns.size() < 4 || line.size() < kMrouteLineMin)
            continue;
        MrouteRow r = rowOf(line, columns);
        if (!r.source.empty())
            rows.push_back(r);
    }
    return rows;
}

}  // namespace showparse
