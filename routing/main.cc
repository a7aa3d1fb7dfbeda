// Entry of pathgate.
#include "routing/handlers.h"
#include "runtime/entry.h"

namespace {

// Registrations are not checked here: a failed one is logged by
// httpdAddCContent and leaves its route absent.
#define DIRECTORY(id, path, member) constexpr const char* kDir_##id = path;
#define STUB(dir, leaf, method, handler, newline) httpdAddCContent(tree, kDir_##dir, leaf, kRoute##method, 1, handler);
#define ROUTE(dir, leaf, method, handler, ...) httpdAddCContent(tree, kDir_##dir, leaf, kRoute##method, 1, handler);
#define CLI(dir, leaf, method, handler, ...) httpdAddCContent(tree, kDir_##dir, leaf, kRoute##method, 1, handler);
#define FIXED(dir, leaf, method, handler, ...) httpdAddCContent(tree, kDir_##dir, leaf, kRoute##method, 1, handler);
void registerRoutes(RouteTree* tree)
{
#include "routing/routes.def"
}
#undef DIRECTORY
#undef STUB
#undef ROUTE
#undef CLI
#undef FIXED

}  // namespace

int main()
{
    return programMain("pathgate.cgi", registerRoutes);
}
