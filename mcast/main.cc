// Entry of swarmgate.
#include "mcast/handlers.h"
#include "runtime/entry.h"

namespace {

#define STUB(dir, leaf, method, handler, newline) {dir, leaf, kRoute##method, handler},
const RouteReg kRoutes[] = {
#include "mcast/routes.def"
};
#undef STUB

}  // namespace

int main()
{
    return programMain("swarmgate.cgi", kRoutes, sizeof kRoutes / sizeof kRoutes[0]);
}
