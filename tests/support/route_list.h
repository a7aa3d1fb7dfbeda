// The list of every route of the three programs (tests/routes.tsv), kept
// apart from the route tables it checks.
#pragma once

#include <string>
#include <vector>

namespace harness {

struct ListedRoute {
    std::string program, dir, leaf, method;
    std::string handler;  // "-": not fixed by the API
    std::string cls;      // "stub", "getter", "CLI" ...
    std::string member;   // data member of the directory, "-": none
};

/// Every route of the list, in its order.
std::vector<ListedRoute> routeList();

}  // namespace harness
