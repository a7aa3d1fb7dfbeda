// What the rows of coregate's identity, common, CLI script, SDM and time zone
// directories name besides the handler family: buffer sizes, the switch API
// version record and the views computed without a switch call.
#pragma once

#include <cstdint>

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

/// One SDM template: its id, its name, the id after it.
struct SdmTemplate {
    const char* id;
    const char* name;
    const char* next;
};
/// The five templates in table order; an id not among them has the name
/// "default" and the next id "sdm_template_dual_default".
extern const SdmTemplate kSdmTemplates[5];
/// The entry of `id`, or nullptr.
const SdmTemplate* sdmTemplate(const char* id);

}  // namespace coregate

namespace hf {

/// SDM views of query (or body) member `name`: the template's name, the next
/// template id, and whether the id is one of the five ("true"/"false" as text).
int fixedSdmTemplateName(const RouteCtx& r, const char* name, const char* data);
int fixedSdmTemplateIdNext(const RouteCtx& r, const char* name, const char* data);
int fixedSdmTemplateSupported(const RouteCtx& r, const char* name, const char* data);

/// Clock views: `ct` {`seconds` since the epoch, `nanoseconds` 0}; the local
/// time now; query `name` (0 when absent) less the C library's offset west
/// of UTC as `adjustedTime`.
int fixedUtcTime(const RouteCtx& r, const char* name, const char* data);
int fixedAdjustedTime(const RouteCtx& r, const char* name, const char* data);
int fixedRawAdjustedTime(const RouteCtx& r, const char* name, const char* data);

}  // namespace hf
