// Operations of the simulated switch. An operation either has code of its
// own (registered by name) or follows the generic rules:
//   ...Set   stores its value inputs under its stem and key inputs;
//   ...Get   reads them back into its outputs (zeros until first set);
//   anything else succeeds without effect.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/openclt/wire.h"
#include "sim/state.h"

namespace sim {

struct Call {
    const openclt::OpInfo* op;
    std::vector<openclt::WireArg>& args;
    SwitchState& st;
    bool changed = false;

    uint32_t u32(size_t i) const;
    /// An input buffer or in/out buffer as a text (up to its first NUL).
    std::string text(size_t i) const;
    void setU32(size_t i, uint32_t v);
    /// Writes a text into an output buffer, cut to leave room for its NUL.
    void setText(size_t i, const std::string& v);
    void setBytes(size_t i, const std::string& v);
};

typedef int32_t (*OpHandler)(Call& call);

/// The catalog's operations by name, one enumerator per row of ops.def.
enum class CatalogOp {
#define OP(name, ...) name,
#define OP0(name) name,
#include "platform/openclt/ops.def"
#undef OP
#undef OP0
};

/// Registers code of its own for an operation of the catalog. Write it as
/// SIM_OP(rpcclt_openapiXxx, handler): a name that is no row of the catalog
/// names no enumerator and does not compile.
struct OpRegistrar {
    OpRegistrar(CatalogOp op, const char* name, OpHandler handler);
};
#define SIM_OP(name, ...) ::sim::OpRegistrar(::sim::CatalogOp::name, #name, __VA_ARGS__)

/// The names that have code of their own, in no particular order, each as
/// often as it was registered.
std::vector<std::string> registeredOps();

/// Runs one call: the operation's own code, or the generic rules.
int32_t runOp(Call& call);

/// Key under which generic setters store values.
std::string genericKey(const std::string& stem, const Call& call, int keys);

}  // namespace sim
