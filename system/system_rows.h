// What the rows of coregate's identity, common, CLI script, SDM and time zone
// directories name besides the handler family: buffer sizes, the switch API
// version record and the views computed without a switch call.
#pragma once

#include <cstdint>

#include "access/show_parse_system.h"
#include "runtime/handler_family.h"

namespace coregate {

/// Configuration file names of the CLI script operations: at most 96
/// characters and their NUL.
inline constexpr uint32_t kCfgFileBuffer = 97;

ResultCode readApiVersion(const cJSON* item, void* rec, void* owner);
void writeApiVersionFlat(cJSON* obj, const char* name, const void* rec, const void* owner, uint32_t limit);
/// The switch API version answered flat: `release`, `version`,
/// `maint_level`, `build_num` (the row's own name is not answered).
inline constexpr hf::RecordKind kApiVersionFlatRec{sizeof(ApiVersion), readApiVersion, writeApiVersionFlat, nullptr};

// The SDM template table (access/show_parse_system.h), which the CLI views
// of the directory read too.
using ::kSdmTemplates;
using ::sdmTemplate;
using ::SdmTemplate;

}  // namespace coregate

namespace hf {

/// SDM views of query (or body) member `name`: the template's name, the next
/// template id, and whether the id is one of the five ("true"/"false" as text).
int fixedSdmTemplateName(const RouteCtx& r, const char* name, const char* data);
int fixedSdmTemplateIdNext(const RouteCtx& r, const char* name, const char* data);
int fixedSdmTemplateSupported(const RouteCtx& r, const char* name, const char* data);
/// "next-active-template" GET: the switch applies the template it is told to
/// prefer at once, so the next boot's template is the active one and the
/// view answers as "active-template".
int fixedSdmNextActiveTemplate(const RouteCtx& r, const char* name, const char* data);

/// Clock views: `ct` {`seconds` since the epoch, `nanoseconds` 0}; the local
/// time now; query `name` (0 when absent) less the C library's offset west
/// of UTC as `adjustedTime`.
int fixedUtcTime(const RouteCtx& r, const char* name, const char* data);
int fixedAdjustedTime(const RouteCtx& r, const char* name, const char* data);
int fixedRawAdjustedTime(const RouteCtx& r, const char* name, const char* data);

}  // namespace hf
