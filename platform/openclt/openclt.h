// Switch control API client library: registration, connectivity check,
// version queries and the rpcclt_openapi... operations of the catalog.
// Every operation takes the client handle first, inputs next and output
// addresses last, and returns 0 or a negative status.
#pragma once

#include <stdint.h>

/// Counted buffer: an input passes the text and its NUL; an output is passed
/// by address with size set to the buffer size, and comes back filled.
struct BufDesc {
    uint32_t size;
    char* pstart;
};

struct ApiVersion {
    uint8_t release;
    uint8_t version;
    uint8_t maintLevel;
    uint8_t buildNum;
};

/// Where a physical port sits: stack unit, slot, port (openapiHashIntfUnitSlotPortGet).
struct UnitSlotPort {
    uint8_t unit;
    uint8_t slot;
    uint16_t port;
};

/// Opaque client record filled by openapiClientRegister.
struct OpenClientHandle {
    unsigned char opaque[256];
};

/// Statuses the callers single out.
enum OpenStatus : int32_t {
    kOpenOk = 0,
    kOpenRpcError = -1,
    kOpenInvalidParam = -22,
    kOpenExists = -24,
    kOpenUnsupported = -28,
    kOpenNotFound = -29,
};

#include "platform/openclt/op_macros.h"
#include "platform/openclt/routing_types.h"
#include "platform/openclt/tcam_types.h"
#include "platform/openclt/logging_types.h"
#include "platform/openclt/mfdb_types.h"

extern "C" {
int openapiClientRegister(const char* clientName, OpenClientHandle* client);
int openapiClientTearDown(OpenClientHandle* client);
int l7proc_crashlog_register(void);

#define OP(name, keys, ...) int name(OpenClientHandle* client, OCL_PARAMS(__VA_ARGS__));
#define OP0(name) int name(OpenClientHandle* client);
#include "platform/openclt/ops.def"
#undef OP
#undef OP0
}
