// Parser of the layer-3 multicast route summaries (access/show_parse_mcast.h).
#include "access/show_parse_mcast.h"

#include <strings.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>

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

// --- IGMP snooping group tables --------------------------------------------------

namespace {

// The words of a line, split at blanks and tabs.
std::vector<std::string> wordsOf(const std::string& line)
{
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && blank(line[i]))
            ++i;
        size_t from = i;
        while (i < line.size() && !blank(line[i]))
            ++i;
        if (i > from)
            words.push_back(line.substr(from, i - from));
    }
    return words;
}

// A signed decimal word, whole (leading digits only when `prefix`), kept
// within the range of an int.
bool intOf(const std::string& w, bool prefix, long* out)
{
    const char* p = w.c_str();
    char* end = nullptr;
    if (!(isdigit(static_cast<unsigned char>(*p)) ||
          ((*p == '-' || *p == '+') && isdigit(static_cast<unsigned char>(p[1])))))
        return false;
    long v = strtol(p, &end, 10);
    if (!prefix && *end)
        return false;
    *out = std::max<long>(INT_MIN, std::min<long>(INT_MAX, v));
    return true;
}

std::string clip(const std::string& v, size_t max) { return v.substr(0, max); }

// The part of a table after its rule line: from the line after the first
// occurrence of `rule`; empty when there is none. A text cut at its read
// cap loses its last line unless that ends in a line end.
std::string tableAfter(const std::string& text, const char* rule, bool cut)
{
    size_t at = text.find(rule);
    if (at == std::string::npos)
        return std::string();
    size_t nl = text.find('\n', at);
    if (nl == std::string::npos)
        return std::string();
    std::string rest = text.substr(nl + 1);
    if (cut && !rest.empty() && rest.back() != '\n')
        rest.erase(rest.rfind('\n') == std::string::npos ? 0 : rest.rfind('\n') + 1);
    return rest;
}

// A "address/MAC" word split at its first slash.
SnoopSubscriber subscriberOf(const std::string& word, const std::string& intf)
{
    std::string w = clip(word, kSnoopWordMax);
    size_t slash = w.find('/');
    SnoopSubscriber s;
    s.ip = w.substr(0, slash);
    s.mac = slash == std::string::npos ? std::string() : w.substr(slash + 1);
    s.interface = intf;
    return s;
}

// Joins "lag" and the number after it into one interface word; whether it did.
bool joinLag(std::vector<std::string>* words, size_t at)
{
    if (words->size() > at + 1 && (*words)[at] == "lag") {
        (*words)[at] += " " + (*words)[at + 1];
        words->erase(words->begin() + static_cast<long>(at) + 1);
        return true;
    }
    return false;
}

// The line after its first `n` words and the blanks after them.
std::string restAfter(const std::string& line, size_t n)
{
    size_t i = 0;
    for (size_t k = 0; k < n; ++k) {
        while (i < line.size() && blank(line[i]))
            ++i;
        while (i < line.size() && !blank(line[i]))
            ++i;
    }
    while (i < line.size() && blank(line[i]))
        ++i;
    return line.substr(i);
}

}  // namespace

std::vector<SnoopGroupRow> snoopGroupsOf(const std::string& text, bool cut)
{
    std::vector<SnoopGroupRow> groups;
    bool open = false;
    for (const std::string& line : clitext::linesOf(tableAfter(text, "-------", cut))) {
        if (line.size() < 3)
            continue;
        std::vector<std::string> w = wordsOf(line);
        if (blank(line[0])) {
            // A further subscriber of the open group; none open: passed over.
            if (open && !w.empty())
                groups.back().subscribers.push_back(
                    subscriberOf(w[0], groups.back().subscribers.front().interface));
            continue;
        }
        long vlan = 0;
        if (w.size() < 4 || !intOf(w[0], false, &vlan))
            continue;
        joinLag(&w, 3);
        SnoopGroupRow g;
        g.vlan = static_cast<int>(vlan);
        SnoopSubscriber group = subscriberOf(w[2], "");
        g.groupIp = group.ip;
        g.groupMac = clip(group.mac, kSnoopGroupMacMax);
        std::string intf = clip(w[3], kSnoopIntfMax);
        if (w.size() > 4)
            g.version = clip(w[4], kSnoopVersionMax);
        if (w.size() > 5 && !intOf(w[5], true, &g.timeout))
            g.timeout = 0;
        g.subscribers.push_back(subscriberOf(w[1], intf));
        groups.push_back(g);
        open = true;
    }
    return groups;
}

std::vector<SnoopSsmGroupRow> snoopSsmGroupsOf(const std::string& text, bool cut)
{
    std::vector<SnoopSsmGroupRow> groups;
    if (text.find("no entries") != std::string::npos)
        return groups;
    for (const std::string& line : clitext::linesOf(tableAfter(text, "----", cut))) {
        std::vector<std::string> w = wordsOf(line);
        long vlan = 0;
        if (w.size() < 4 || !intOf(w[0], false, &vlan))
            continue;
        bool lag = joinLag(&w, 2);
        if (w.size() < 4)
            continue;
        SnoopSsmGroupRow g;
        g.vlan = static_cast<int>(vlan);
        g.group = clip(w[1], kSsmWordMax);
        g.interface = clip(w[2], kSsmWordMax);
        g.reporter = clip(w[3], kSsmWordMax);
        g.include = w.size() > 4 && strcasecmp(clip(w[4], kSsmFilterMax).c_str(), "Include") == 0;
        // The source list: the rest of the line after the filter word.
        if (w.size() > 5) {
            std::string rest = clip(restAfter(line, lag ? 6 : 5), kSsmSourceListMax);
            while (!rest.empty() && blank(rest.back()))
                rest.pop_back();
            g.sourceList = rest;
        }
        groups.push_back(g);
    }
    return groups;
}

}  // namespace showparse
