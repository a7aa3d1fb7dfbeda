// The CLI's notation of interfaces: a physical port by unit/slot/port
// ("1/0/5"), a LAG as "lag N" counted from the first LAG interface.
#pragma once

#include <cstdint>

#include "platform/openclt/openclt.h"

/// Interface types as the switch control API numbers them.
enum : uint32_t { kIfTypePhysical = 0, kIfTypeLag = 2 };

/// Size of the name buffers of the two display-name helpers.
constexpr size_t kIfDisplayNameSize = 12;

/// The CLI name of an interface into `name` (12 bytes): "%d/%d/%d" for a
/// physical port, "lag %d" for a LAG. 0; 10000 for another type or a failed
/// lookup.
int ifDisplayNameGet(OpenClientHandle* client, uint32_t intIfNum, char* name);
/// The same for a known type: a physical port by its unit/slot/port, a LAG
/// as "lag <intIfNum>" (the number as given); other types leave `name` and
/// answer 0.
int ifDisplayNameFromTypeGet(OpenClientHandle* client, uint32_t intIfNum, uint32_t type, char* name);
/// "%d/%d/%d" gives unit, slot and port; "%d/%d" unit 1 and slot/port;
/// anything else leaves the three unchanged. Always 0.
int unitSlotPortParse(const char* text, uint32_t* unit, uint32_t* slot, uint32_t* port);
/// Unit/slot/port of an interface (the record is cleared first). 0 or 10000.
int ifUnitSlotPortGet(OpenClientHandle* client, uint32_t intIfNum, UnitSlotPort* usp);
/// Number of stack members. Always 0.
int stackMemberCountGet(OpenClientHandle* client, uint32_t* count);
/// The first interface of a type; logs a failure under the name
/// swapiIfFirstGet and answers the switch's status.
int ifFirstOfTypeGet(OpenClientHandle* client, uint32_t type, uint32_t* intIfNum);
