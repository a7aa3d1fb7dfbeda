// Entry of coregate.
#include "system/handlers.h"
#include "runtime/entry.h"

namespace {

#define STUB(dir, leaf, method, handler, newline) {dir, leaf, kRoute##method, handler},
const RouteReg kRoutes[] = {
#include "system/routes.def"
};
#undef STUB

}  // namespace

int main()
{
    return programMain("coregate.cgi", kRoutes, sizeof kRoutes / sizeof kRoutes[0]);
}
