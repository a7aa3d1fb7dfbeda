// TRANSITIONAL: the names the CLI-backed route groups (routing/cli_*) still
// use, until they reach the handler family (runtime/handler_family.h) and
// pathgate's records (routing/route_records.h) directly. Remove with the last
// user.
#pragma once

#include "routing/route_records.h"
#include "runtime/handler_family.h"

namespace route {

using hf::RouteCtx;

inline const char* dataMemberOf(const hf::Directory* dir) { return dir->member; }
inline cJSON* routeJson(const RouteRecord& r) { return pathgate::routeJson(r).release(); }
inline cJSON* nextHopsJson(const NextHopList& l, uint32_t count) { return pathgate::nextHopsJson(l, count).release(); }

}  // namespace route
