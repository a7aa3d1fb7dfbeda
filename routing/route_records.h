// Records of pathgate's routing operations as the handler family reads and
// answers them: a route, its next hops, one route change and a set of route
// changes; and the OSPF enumerations of the routing members.
#pragma once

#include <cstdint>

#include "runtime/handler_family.h"

struct cJSON;

namespace pathgate {

// --- Route records ------------------------------------------------------------

ResultCode readRoute(const cJSON* item, void* rec, void* owner);
void writeRoute(cJSON* obj, const char* name, const void* rec, const void* owner, uint32_t limit);
ResultCode readNextHops(const cJSON* item, void* rec, void* owner);
void writeNextHops(cJSON* obj, const char* name, const void* rec, const void* owner, uint32_t limit);
void writeRouteChange(cJSON* obj, const char* name, const void* rec, const void* owner, uint32_t limit);
void writeRouteChanges(cJSON* obj, const char* name, const void* rec, const void* owner, uint32_t limit);
/// Records that are only answered.
ResultCode readNothing(const cJSON* item, void* rec, void* owner);

/// `route`: `destPfx`, `pfxLen`, `routeType`, `protoId`, `rejectRoute`,
/// `discardRoute`, `pref`, `metric`, `numNextHops`, `leakedRoute`,
/// `rfc5549Route`, `unnumberedRoute`; every number must fit its field.
inline constexpr hf::RecordKind kRouteRec{sizeof(RouteRecord), readRoute, writeRoute, nullptr};
/// `nextHops`: a list of `nhAddr`, `ifNum` belonging to the route before it.
/// Read, it sets the route's count to the hops it holds (more than a list
/// holds are ignored); answered, it lists as many as the route counts.
inline constexpr hf::RecordKind kNextHopsRec{sizeof(NextHopList), readNextHops, writeNextHops, &kRouteRec};
/// One route change: `chType`, `route`, `nextHops` (the answer's own members).
inline constexpr hf::RecordKind kRouteChangeRec{sizeof(RouteChange), readNothing, writeRouteChange, nullptr};
/// The changes in use, at most the row's count, as a list of route changes.
inline constexpr hf::RecordKind kRouteChangesRec{sizeof(RouteChangeSet), readNothing, writeRouteChanges, nullptr};

/// The route object of an answer.
JsonPtr routeJson(const RouteRecord& r);
/// The next-hop list of an answer: the first `count` hops as `nhAddr`, `ifNum`.
JsonPtr nextHopsJson(const NextHopList& l, uint32_t count);

// --- OSPF enumerations -------------------------------------------------------------

inline constexpr hf::EnumWord kSummaryWords[] = {{"send_summary", 2}};
/// Area and NSSA summaries: "send_summary" 2, else "no_summary" (1).
inline constexpr hf::EnumTable kSummaryEnum = hf::enumTable(kSummaryWords, "no_summary", 1);
inline constexpr hf::EnumWord kImportWords[] = {{"import_no_ext", 2}, {"import_nssa", 3}};
/// Area external routing: "import_no_ext" 2, "import_nssa" 3, else "import_ext" (1).
inline constexpr hf::EnumTable kImportEnum = hf::enumTable(kImportWords, "import_ext", 1);
inline constexpr hf::EnumWord kIfTypeWords[] = {{"broadcast", 1}, {"point_to_point", 3}};
/// OSPF interface type: "broadcast" 1, "point_to_point" 3, else "default" (0).
inline constexpr hf::EnumTable kIfTypeEnum = hf::enumTable(kIfTypeWords, "default", 0);
inline constexpr hf::EnumWord kStubWords[] = {{"always", 1}, {"startup", 2}};
/// Stub router mode: "always" 1, "startup" 2, else "disabled" (0).
inline constexpr hf::EnumTable kStubEnum = hf::enumTable(kStubWords, "disabled", 0);

}  // namespace pathgate
