// Program entry shared by the three programs: log, client registration,
// route tree, one dispatch, teardown.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/route_tree.h"

/// One compiled-in registration.
struct RouteReg {
    const char* dir;
    const char* leaf;
    uint32_t method;
    HandlerFn handler;
};

/// Method codes under the names route tables use.
constexpr uint32_t kRouteGET = kMethodGet;
constexpr uint32_t kRoutePOST = kMethodPost;
constexpr uint32_t kRouteDELETE = kMethodDelete;
constexpr uint32_t kRoutePUT = kMethodPut;

/// Serves one request; returns the process exit status (0, 1 or 255).
int programMain(const char* clientName, const RouteReg* routes, size_t count);

/// Stub handler: answers 17002 without reading the request; writes end in a newline.
int replyStub(bool newline);
