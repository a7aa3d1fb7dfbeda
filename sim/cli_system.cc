// "show running-config": the running configuration of the switch model, the
// same text the control API's configuration generators write.
#include "sim/cli_engine.h"
#include "sim/state.h"

namespace sim {
namespace cli {
namespace {

bool showRunningConfig(const SwitchState& st, const Args&, std::string* out)
{
    *out += runningConfig(st);
    return true;
}

const ShowRegistrar kSystemShowRows[] = {
    {"show running-config", showRunningConfig},
};

}  // namespace
}  // namespace cli
}  // namespace sim
