// The simulator's CLI history with every script named by its stem: a work
// file's name ends in the process id and a number of its own
// ("oxel_in_rtr_routeadd_1234_56789"), which the tests drop before they
// compare ("oxel_in_rtr_routeadd"). A name without that ending is marked, so
// a script under a name every request shares fails the comparison.
#pragma once

#include <cctype>
#include <string>

namespace routing_test {

inline bool endsWithNumber(const std::string& s, size_t* start)
{
    size_t i = s.size();
    while (i > 0 && isdigit(static_cast<unsigned char>(s[i - 1])))
        --i;
    if (i == s.size() || i == 0 || s[i - 1] != '_')
        return false;
    *start = i - 1;
    return true;
}

inline std::string historyByStem(const std::string& history)
{
    std::string out;
    for (size_t pos = 0; pos < history.size();) {
        size_t eol = history.find('\n', pos);
        size_t end = eol == std::string::npos ? history.size() : eol;
        std::string line = history.substr(pos, end - pos);
        size_t number, pid;
        if (line.compare(0, 4, "--- ") == 0) {
            if (endsWithNumber(line, &number) && endsWithNumber(line.substr(0, number), &pid))
                line.resize(pid);
            else
                line += " (a name every request shares)";
        }
        out += line;
        if (eol != std::string::npos)
            out += '\n';
        pos = end + 1;
    }
    return out;
}

}  // namespace routing_test
