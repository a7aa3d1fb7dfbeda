// "show running-config": the running configuration of the switch model, the
// same text the control API's configuration generators write. "show sdm
// prefer" and "sdm prefer <template>": the SDM template and the table sizes
// it gives the switch.
#include "sim/cli_engine.h"
#include "sim/cli_show.h"
#include "sim/model_system.h"
#include "sim/state.h"

namespace sim {
namespace cli {
namespace {

bool showRunningConfig(const SwitchState& st, const Args&, std::string* out)
{
    *out += runningConfig(st);
    return true;
}

// The template in use and its table sizes, each size on a line of its own
// label; an IPv4-only template has no NDP or IPv6 lines.
bool showSdmPrefer(const SwitchState& st, const Args&, std::string* out)
{
    const SdmTemplateInfo* t = sdmTemplateInfo(st.sysModel.sdmTemplate);
    if (!t)
        t = sdmTemplateInfo(kSdmDualDefault);
    auto line = [out](const char* label, uint32_t n) { *out += labelLine(label, std::to_string(n)); };
    *out += format("\n The current template is \"%s\".\n\n", t->name);
    line("ARP Entries", t->arpEntries);
    line("IPv4 Unicast Routes", t->ipv4Routes);
    if (t->ipv6) {
        line("NDP Entries", t->ndpEntries);
        line("IPv6 Unicast Routes", t->ipv6Routes);
    }
    line("ECMP Next Hops", t->ecmpNextHops);
    line("IPv4 Multicast Routes", t->ipv4McastRoutes);
    if (t->ipv6)
        line("IPv6 Multicast Routes", t->ipv6McastRoutes);
    return true;
}

// "sdm prefer <template>": the template of the next boot, which the
// simulated switch applies at once. The name is the table's spelling of the
// words typed; a name that is no template's is refused.
Outcome sdmPrefer(Session& s, const Args& a)
{
    std::string name;
    for (size_t i = 0; i < a.params.size(); ++i)
        name += (i ? " " : "") + a.param(i);
    uint32_t id;
    if (!sdmTemplateByName(name, &id))
        return refuseParam(0);
    assign(s, s.st.sysModel.sdmTemplate, id);
    return accepted();
}

const ShowRegistrar kSystemShowRows[] = {
    {"show running-config", showRunningConfig},
    {"show sdm prefer", showSdmPrefer},
};

const CommandRegistrar kSystemRows[] = {
    {kModeConfig, "sdm prefer {dual-ipv4-and-ipv6|ipv4-routing} {default|data-center}", sdmPrefer},
    {kModeConfig, "sdm prefer {data-center-plus}", sdmPrefer},
};

}  // namespace
}  // namespace cli
}  // namespace sim
