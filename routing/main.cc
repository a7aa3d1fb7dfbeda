// Entry of pathgate.
#include "routing/handlers.h"
#include "runtime/entry.h"

namespace {

#define STUB(dir, leaf, method, handler, newline) {dir, leaf, kRoute##method, handler},
#define ROUTE(dir, leaf, method, handler, ...) {dir, leaf, kRoute##method, handler},
#define CLI(dir, leaf, method, handler, ...) {dir, leaf, kRoute##method, handler},
#define FIXED(dir, leaf, method, handler, ...) {dir, leaf, kRoute##method, handler},
const RouteReg kRoutes[] = {
#include "routing/routes.def"
};
#undef STUB
#undef ROUTE
#undef FIXED
#undef CLI

}  // namespace

int main()
{
    return programMain("pathgate.cgi", kRoutes, sizeof kRoutes / sizeof kRoutes[0]);
}
