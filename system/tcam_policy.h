// The TCAM policy as the tcam directory reads and answers it (`policyInfo`):
// one JSON member per field of the switch's policy record, in record order.
#pragma once

#include <cstdint>

#include "platform/openclt/openclt.h"
#include "runtime/handler_family.h"

struct cJSON;

namespace coregate {

/// Fills the zeroed record from the policy object `item` (nullptr: absent,
/// the record stays zero). Numbers must be whole and fit their field; a MAC
/// member is an array whose first six elements are the bytes (more are
/// ignored, fewer leave the rest zero); an IPv6 member that is no IPv6 text
/// leaves its field zero. 0, or 10003 for anything else.
ResultCode readTcamPolicy(const cJSON* item, void* rec, void* owner);
/// Adds the policy object of the record under `name`: IPv6 fields as text
/// ("::" when zero), MAC fields as arrays of six numbers.
void writeTcamPolicy(cJSON* obj, const char* name, const void* rec, const void* owner, uint32_t limit);

/// `policyInfo` of the tcam directory's create, get and walk routes.
inline constexpr hf::RecordKind kTcamPolicyRec{sizeof(TcamPolicy), readTcamPolicy, writeTcamPolicy, nullptr};

}  // namespace coregate
