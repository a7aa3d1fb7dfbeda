// Program entry shared by the three programs: log, client registration,
// route tree, one dispatch, teardown.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/route_tree.h"

/// Method codes under the names route tables use.
constexpr uint32_t kRouteGET = kMethodGet;
constexpr uint32_t kRoutePOST = kMethodPost;
constexpr uint32_t kRouteDELETE = kMethodDelete;
constexpr uint32_t kRoutePUT = kMethodPut;

/// Registers every route of a program, one httpdAddCContent call per route in
/// the order of its route table (runtime/rows_register.inc writes it out).
using RouteRegistrar = void (*)(RouteTree* tree);

/// Serves one request; returns the process exit status (0, 1 or 255).
int programMain(const char* clientName, RouteRegistrar registerRoutes);
