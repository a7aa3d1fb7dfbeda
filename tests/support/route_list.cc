// Reader of the list of every route.
#include "tests/support/route_list.h"

#include <sstream>

#include "tests/support/harness.h"

namespace harness {

std::vector<ListedRoute> routeList()
{
    std::vector<ListedRoute> rows;
    std::istringstream in(readFile(sourcePath("tests/routes.tsv")));
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#' || line.rfind("program\t", 0) == 0)
            continue;
        std::istringstream f(line);
        ListedRoute r;
        for (std::string* field : {&r.program, &r.dir, &r.leaf, &r.method, &r.handler, &r.cls, &r.member})
            std::getline(f, *field, '\t');
        rows.push_back(r);
    }
    return rows;
}

}  // namespace harness
