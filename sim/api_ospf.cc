// Control API operations of OSPF: the router's, each area's and each
// interface's settings, traps and network area entries, over model_ospf.h.
// Each setter states the range of values it accepts.
#include "sim/api_util.h"
#include "sim/state.h"

namespace sim {
namespace {

using namespace api;

template <uint32_t Ospf::*F>
int32_t ospfGet(Call& c)
{
    c.setU32(0, c.st.routing.ospf.*F);
    return 0;
}

template <uint32_t Ospf::*F, uint32_t Lo, uint32_t Hi>
int32_t ospfSet(Call& c)
{
    if (c.u32(0) < Lo || c.u32(0) > Hi)
        return kInvalid;
    c.st.routing.ospf.*F = c.u32(0);
    c.changed = true;
    return 0;
}

OspfIntf ospfIntfOf(Call& c, uint32_t n)
{
    auto it = c.st.routing.ospf.intfs.find(n);
    return it == c.st.routing.ospf.intfs.end() ? OspfIntf{} : it->second;
}

template <uint32_t OspfIntf::*F>
int32_t ospfIntfGet(Call& c)
{
    if (!intfExists(c, c.u32(0)))
        return kInvalid;
    c.setU32(1, ospfIntfOf(c, c.u32(0)).*F);
    return 0;
}

template <uint32_t OspfIntf::*F, uint32_t Lo, uint32_t Hi>
int32_t ospfIntfSet(Call& c)
{
    if (!intfExists(c, c.u32(0)) || c.u32(1) < Lo || c.u32(1) > Hi)
        return kInvalid;
    c.st.routing.ospf.intfs[c.u32(0)].*F = c.u32(1);
    c.changed = true;
    return 0;
}

// Interface types a switch knows: default (0), broadcast (1), point-to-point (3).
int32_t ospfIntfTypeSet(Call& c)
{
    uint32_t t = c.u32(1);
    if (t != 0 && t != 1 && t != 3)
        return kInvalid;
    return ospfIntfSet<&OspfIntf::type, 0, 3>(c);
}

int32_t ospfIntfAreaIdGet(Call& c)
{
    if (!intfExists(c, c.u32(0)))
        return kInvalid;
    OspfIntf i = ospfIntfOf(c, c.u32(0));
    c.setU32(1, i.areaId);
    c.setU32(2, i.areaMode);
    return 0;
}

int32_t ospfIntfAreaIdSet(Call& c)
{
    if (!intfExists(c, c.u32(0)) || c.u32(2) > 1)
        return kInvalid;
    OspfIntf& i = c.st.routing.ospf.intfs[c.u32(0)];
    i.areaId = c.u32(1);
    i.areaMode = c.u32(2);
    c.changed = true;
    return 0;
}

int32_t ospfIntfMetricGet(Call& c)
{
    if (!intfExists(c, c.u32(0)))
        return kInvalid;
    OspfIntf i = ospfIntfOf(c, c.u32(0));
    auto it = i.metricByTos.find(c.u32(1));
    c.setU32(2, it == i.metricByTos.end() ? 1 : it->second);
    return 0;
}

int32_t ospfIntfMetricSet(Call& c)
{
    uint32_t metric = c.u32(3);
    if (!intfExists(c, c.u32(0)) || metric < 1 || metric > 65535)
        return kInvalid;
    c.st.routing.ospf.intfs[c.u32(0)].metricByTos[c.u32(2)] = metric;
    c.changed = true;
    return 0;
}

template <uint32_t OspfArea::*F>
int32_t ospfAreaGet(Call& c)
{
    auto it = c.st.routing.ospf.areas.find(c.u32(0));
    c.setU32(1, it == c.st.routing.ospf.areas.end() ? OspfArea{}.*F : it->second.*F);
    return 0;
}

template <uint32_t OspfArea::*F, uint32_t Lo, uint32_t Hi>
int32_t ospfAreaSet(Call& c)
{
    if (c.u32(1) < Lo || c.u32(1) > Hi)
        return kInvalid;
    c.st.routing.ospf.areas[c.u32(0)].*F = c.u32(1);
    c.changed = true;
    return 0;
}

int32_t ospfLogAdjGet(Call& c)
{
    c.setU32(0, c.st.routing.ospf.logAdj);
    c.setU32(1, c.st.routing.ospf.logDetail);
    return 0;
}

int32_t ospfLogAdjSet(Call& c)
{
    if (c.u32(0) > 1 || c.u32(1) > 1)
        return kInvalid;
    c.st.routing.ospf.logAdj = c.u32(0);
    c.st.routing.ospf.logDetail = c.u32(1);
    c.changed = true;
    return 0;
}

int32_t ospfStubGet(Call& c)
{
    const Ospf& f = c.st.routing.ospf;
    c.setU32(0, f.stubMode);
    c.setU32(1, f.stubDuration);
    c.setU32(2, f.stubOverride);
    c.setU32(3, f.stubMetric);
    return 0;
}

int32_t ospfStubSet(Call& c)
{
    if (c.u32(0) > 2 || (c.u32(0) == 2 && (c.u32(1) < 5 || c.u32(1) > 86400)))
        return kInvalid;
    c.st.routing.ospf.stubMode = c.u32(0);
    c.st.routing.ospf.stubDuration = c.u32(0) == 2 ? c.u32(1) : 0;
    c.changed = true;
    return 0;
}

int32_t ospfStubOverride(Call& c)
{
    if (c.u32(0) > 1 || c.u32(1) > 16777215)
        return kInvalid;
    c.st.routing.ospf.stubOverride = c.u32(0);
    c.st.routing.ospf.stubMetric = c.u32(1);
    c.changed = true;
    return 0;
}

int32_t ospfTrapGet(Call& c)
{
    auto it = c.st.routing.ospf.traps.find(c.u32(0));
    c.setU32(1, it == c.st.routing.ospf.traps.end() ? 0 : it->second);
    return 0;
}

int32_t ospfTrapSet(Call& c)
{
    if (c.u32(1) > 1)
        return kInvalid;
    c.st.routing.ospf.traps[c.u32(0)] = c.u32(1);
    c.changed = true;
    return 0;
}

std::vector<OspfNetwork>::iterator findNetwork(Call& c)
{
    auto& v = c.st.routing.ospf.networks;
    return std::find_if(v.begin(), v.end(), [&](const OspfNetwork& n) {
        return n.ip == c.u32(0) && n.wildcard == c.u32(1) && n.areaId == c.u32(2);
    });
}

int32_t ospfNetworkSet(Call& c)
{
    if (c.u32(3) > 1)
        return kInvalid;
    auto it = findNetwork(c);
    if (it != c.st.routing.ospf.networks.end())
        return kExists;
    c.st.routing.ospf.networks.push_back(OspfNetwork{c.u32(0), c.u32(1), c.u32(2), c.u32(3)});
    c.changed = true;
    return 0;
}

int32_t ospfNetworkGet(Call& c)
{
    c.setU32(3, findNetwork(c) != c.st.routing.ospf.networks.end() ? 1 : 0);
    return 0;
}

int32_t ospfNetworkDelete(Call& c)
{
    auto it = findNetwork(c);
    if (it == c.st.routing.ospf.networks.end())
        return kNotFound;
    c.st.routing.ospf.networks.erase(it);
    c.changed = true;
    return 0;
}

const OpRegistrar kOps[] = {
    SIM_OP(rpcclt_openapiOspfMapAreaSummaryGet, (ospfAreaGet<&OspfArea::summary>)),
    SIM_OP(rpcclt_openapiOspfMapAreaSummarySet, (ospfAreaSet<&OspfArea::summary, 1, 2>)),
    SIM_OP(rpcclt_openapiOspfMapAutoCostRefBwGet, ospfGet<&Ospf::autoCost>),
    SIM_OP(rpcclt_openapiOspfMapAutoCostRefBwSet, (ospfSet<&Ospf::autoCost, 1, 4294967>)),
    SIM_OP(rpcclt_openapiOspfMapImportAsExternGet, ospfAreaGet<&OspfArea::importExt>),
    SIM_OP(rpcclt_openapiOspfMapImportAsExternSet, (ospfAreaSet<&OspfArea::importExt, 1, 3>)),
    SIM_OP(rpcclt_openapiOspfMapIntfAdminModeGet, ospfIntfGet<&OspfIntf::adminMode>),
    SIM_OP(rpcclt_openapiOspfMapIntfAdminModeSet, (ospfIntfSet<&OspfIntf::adminMode, 0, 1>)),
    SIM_OP(rpcclt_openapiOspfMapIntfAreaIdGet, ospfIntfAreaIdGet),
    SIM_OP(rpcclt_openapiOspfMapIntfAreaIdSet, ospfIntfAreaIdSet),
    SIM_OP(rpcclt_openapiOspfMapIntfDeadIntervalGet, ospfIntfGet<&OspfIntf::deadInterval>),
    SIM_OP(rpcclt_openapiOspfMapIntfDeadIntervalSet, (ospfIntfSet<&OspfIntf::deadInterval, 1, 65535>)),
    SIM_OP(rpcclt_openapiOspfMapIntfHelloIntervalGet, ospfIntfGet<&OspfIntf::helloInterval>),
    SIM_OP(rpcclt_openapiOspfMapIntfHelloIntervalSet, (ospfIntfSet<&OspfIntf::helloInterval, 1, 65535>)),
    SIM_OP(rpcclt_openapiOspfMapIntfMetricValueGet, ospfIntfMetricGet),
    SIM_OP(rpcclt_openapiOspfMapIntfMetricValueSet, ospfIntfMetricSet),
    SIM_OP(rpcclt_openapiOspfMapIntfPassiveModeGet, ospfIntfGet<&OspfIntf::passive>),
    SIM_OP(rpcclt_openapiOspfMapIntfPassiveModeSet, (ospfIntfSet<&OspfIntf::passive, 0, 1>)),
    SIM_OP(rpcclt_openapiOspfMapIntfSecondariesFlagGet, ospfIntfGet<&OspfIntf::secondaries>),
    SIM_OP(rpcclt_openapiOspfMapIntfSecondariesFlagSet, (ospfIntfSet<&OspfIntf::secondaries, 0, 1>)),
    SIM_OP(rpcclt_openapiOspfMapIntfTypeGet, ospfIntfGet<&OspfIntf::type>),
    SIM_OP(rpcclt_openapiOspfMapIntfTypeSet, ospfIntfTypeSet),
    SIM_OP(rpcclt_openapiOspfMapLogAdjChngGet, ospfLogAdjGet),
    SIM_OP(rpcclt_openapiOspfMapLogAdjChngSet, ospfLogAdjSet),
    SIM_OP(rpcclt_openapiOspfMapMaxPathsGet, ospfGet<&Ospf::maxPaths>),
    SIM_OP(rpcclt_openapiOspfEqualCostRoutesMax, constantGet<kMaxEqualCostPaths>),
    SIM_OP(rpcclt_openapiOspfMapMaxPathsSet, (ospfSet<&Ospf::maxPaths, 1, kMaxEqualCostPaths>)),
    SIM_OP(rpcclt_openapiOspfMapNetworkAreaEntryDelete, ospfNetworkDelete),
    SIM_OP(rpcclt_openapiOspfMapNetworkAreaEntryGet, ospfNetworkGet),
    SIM_OP(rpcclt_openapiOspfMapNetworkAreaEntrySet, ospfNetworkSet),
    SIM_OP(rpcclt_openapiOspfMapNSSAImportSummariesGet, ospfAreaGet<&OspfArea::nssaSummary>),
    SIM_OP(rpcclt_openapiOspfMapNSSAImportSummariesSet, (ospfAreaSet<&OspfArea::nssaSummary, 1, 2>)),
    SIM_OP(rpcclt_openapiOspfMapRouterIdGet, ospfGet<&Ospf::routerId>),
    SIM_OP(rpcclt_openapiOspfMapRouterIdSet, (ospfSet<&Ospf::routerId, 0, 0xffffffffu>)),
    SIM_OP(rpcclt_openapiOspfMapRfc1583CompatibilityGet, ospfGet<&Ospf::rfc1583>),
    SIM_OP(rpcclt_openapiOspfMapRfc1583CompatibilitySet, (ospfSet<&Ospf::rfc1583, 0, 1>)),
    SIM_OP(rpcclt_openapiOspfMapSpfDelayTimeGet, ospfGet<&Ospf::spfDelay>),
    SIM_OP(rpcclt_openapiOspfMapSpfDelayTimeSet, (ospfSet<&Ospf::spfDelay, 0, 65535>)),
    SIM_OP(rpcclt_openapiOspfMapSpfHoldTimeGet, ospfGet<&Ospf::spfHold>),
    SIM_OP(rpcclt_openapiOspfMapSpfHoldTimeSet, (ospfSet<&Ospf::spfHold, 0, 65535>)),
    SIM_OP(rpcclt_openapiOspfMapStubRtrModeGet, ospfStubGet),
    SIM_OP(rpcclt_openapiOspfMapStubRtrModeSet, ospfStubSet),
    SIM_OP(rpcclt_openapiOspfMapStubRtrSumLsaMetricOverride, ospfStubOverride),
    SIM_OP(rpcclt_openapiOspfTrapModeGet, ospfTrapGet),
    SIM_OP(rpcclt_openapiOspfTrapModeSet, ospfTrapSet),
};

}  // namespace
}  // namespace sim
