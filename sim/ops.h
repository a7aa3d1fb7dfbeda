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

/// Registers code of its own for an operation of the catalog.
struct OpRegistrar {
    OpRegistrar(const char* name, OpHandler handler);
};

/// Runs one call: the operation's own code, or the generic rules.
int32_t runOp(Call& call);

/// Key under which generic setters store values.
std::string genericKey(const std::string& stem, const Call& call, int keys);

}  // namespace sim
