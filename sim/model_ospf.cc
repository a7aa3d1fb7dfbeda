// The OSPF records in the state file. Areas and network entries are arrays
// of their numbers: [area, summary, importExt, nssaSummary] and [ip,
// wildcard, area, area format].
#include "sim/model_ospf.h"

namespace sim {

using namespace schema;

const Table<OspfIntf> kOspfIntfTable = {
    field<&OspfIntf::adminMode>("adminMode"),
    field<&OspfIntf::areaId>("areaId"),
    field<&OspfIntf::areaMode>("areaMode"),
    field<&OspfIntf::deadInterval>("deadInterval"),
    field<&OspfIntf::helloInterval>("helloInterval"),
    field<&OspfIntf::passive>("passive"),
    field<&OspfIntf::secondaries>("secondaries"),
    field<&OspfIntf::type>("type"),
    field<&OspfIntf::metricByTos>("metricByTos"),
};

const Table<Ospf> kOspfTable = {
    field<&Ospf::routerId>("routerId"),
    field<&Ospf::autoCost>("autoCost"),
    field<&Ospf::maxPaths>("maxPaths"),
    field<&Ospf::rfc1583>("rfc1583"),
    field<&Ospf::spfDelay>("spfDelay"),
    field<&Ospf::spfHold>("spfHold"),
    field<&Ospf::logAdj>("logAdj"),
    field<&Ospf::logDetail>("logDetail"),
    field<&Ospf::stubMode>("stubMode"),
    field<&Ospf::stubDuration>("stubDuration"),
    field<&Ospf::stubOverride>("stubOverride"),
    field<&Ospf::stubMetric>("stubMetric"),
    field<&Ospf::traps>("traps"),
    field<&Ospf::areas, KeyedTuple<&OspfArea::summary, &OspfArea::importExt, &OspfArea::nssaSummary>>("areas"),
    keyed<&Ospf::intfs, kOspfIntfTable>("intfs", "intIfNum"),
    field<&Ospf::networks,
          List<Tuple<&OspfNetwork::ip, &OspfNetwork::wildcard, &OspfNetwork::areaId, &OspfNetwork::areaIdFmt>>>(
        "networks"),
};

}  // namespace sim
