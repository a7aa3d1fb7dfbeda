// Records of the system directory's operations that the handler family's own
// kinds do not cover.
#pragma once

#include <cstdint>

#include "runtime/handler_family.h"

struct cJSON;

namespace coregate {

/// Records that are only answered.
ResultCode readNoInput(const cJSON* item, void* rec, void* owner);
/// A signed 32-bit number (minutes east of UTC may be negative).
void writeSigned(cJSON* obj, const char* name, const void* rec, const void* owner, uint32_t limit);

/// A signed whole number answered as such: `timeZoneOffsetMin`.
inline constexpr hf::RecordKind kSignedRec{sizeof(int32_t), readNoInput, writeSigned, nullptr};

}  // namespace coregate
