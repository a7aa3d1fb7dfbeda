// Entry of swarmgate.
#include "mcast/handlers.h"
#include "runtime/entry.h"

namespace {

// Registrations are not checked here: a failed one is logged by
// httpdAddCContent and leaves its route absent.
#define DIRECTORY(id, path, member) constexpr const char* kDir_##id = path;
#define STUB(dir, leaf, method, handler, newline) httpdAddCContent(tree, kDir_##dir, leaf, kRoute##method, 1, handler);
void registerRoutes(RouteTree* tree)
{
#include "mcast/routes.def"
}
#undef DIRECTORY
#undef STUB

}  // namespace

int main()
{
    return programMain("swarmgate.cgi", registerRoutes);
}
