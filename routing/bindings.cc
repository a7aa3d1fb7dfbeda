// Binds every route of pathgate to its handler class. A ROUTE row's specs
// must agree with its operation's parameters, or the row does not compile.
#include "routing/handlers.h"

#include "routing/cli_ipv4.h"
#include "routing/cli_ipv6.h"
#include "routing/route_classes.h"
#include "runtime/entry.h"

#define DIRECTORY(id, path, member) constexpr const char* kDir_##id = path;
#define STUB(dir, leaf, method, handler, newline) \
    int handler(void) { return replyStub(newline); }
#define ROUTE(dir, leaf, method, handler, cls, op, ...)                                                       \
    int handler(void)                                                                                          \
    {                                                                                                          \
        constexpr route::ArgSpec kArgs[] = {__VA_ARGS__};                                                      \
        static_assert(route::OpShape<decltype(&op)>::agrees(kArgs), #handler ": specs disagree with " #op);   \
        return route::cls(route::RouteCtx{kDir_##dir, leaf, kRoute##method}, kArgs, sizeof kArgs / sizeof kArgs[0], \
                          &route::OpThunk<decltype(&op), &op>::call);                                          \
    }
#define FIXED(dir, leaf, method, handler, view, name, data) \
    int handler(void) { return route::view(route::RouteCtx{kDir_##dir, leaf, kRoute##method}, name, data); }
// A CLI row names the group's class and the row's own table entry.
#define CLI(dir, leaf, method, handler, cls, ...) \
    int handler(void) { return cls(route::RouteCtx{kDir_##dir, leaf, kRoute##method}, ##__VA_ARGS__); }
#include "routing/routes.def"
#undef CLI
#undef DIRECTORY
#undef STUB
#undef ROUTE
#undef FIXED
