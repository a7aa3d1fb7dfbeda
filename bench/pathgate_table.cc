// pathgate's registrations, taken from routing/main.cc itself: its main
// becomes pathgateMain, the call it makes hands the registrar to
// benchRegistrar (defined by the micro benchmarks) instead of running a
// request, and each registration the registrar makes also goes to
// benchNoteRoute, which keeps the list of routes for the benchmarks.
#include "runtime/route_tree.h"

int benchNoteRoute(RouteTree* tree, const char* dir, const char* leaf, uint32_t method, int protection,
                   HandlerFn handler);

#define main pathgateMain
#define programMain benchRegistrar
#define httpdAddCContent benchNoteRoute
#include "routing/main.cc"
