// The records of ports and the switch in the state file.
#include "sim/model_ports.h"

namespace sim {

using namespace schema;

namespace {

// Interface types the model knows: 0, 1 or 2.
struct IfTypeCodec {
    static cJSON* make(IfType t) { return cJSON_CreateNumber(t); }
    static void read(const StateNode& n, IfType& t)
    {
        uint32_t v = t;
        if (!n.asU32(&v))
            return;
        if (v > kIfVlan)
            n.fault("0, 1 or 2 expected");
        else
            t = static_cast<IfType>(v);
    }
};

// A VLAN the file does not call static is dynamic.
struct StaticFlag {
    static cJSON* make(bool v) { return cJSON_CreateBool(v); }
    static void read(const StateNode& n, bool& v)
    {
        v = false;
        n.asFlag(&v);
    }
};

}  // namespace

const Table<Interface> kInterfaceTable = {
    field<&Interface::intIfNum>("intIfNum"),
    field<&Interface::type, IfTypeCodec>("type"),
    field<&Interface::unit>("unit"),
    field<&Interface::slot>("slot"),
    field<&Interface::port>("port"),
    field<&Interface::name>("name"),
    field<&Interface::speedMbps>("speedMbps"),
    field<&Interface::adminUp>("adminUp"),
    field<&Interface::linkUp>("linkUp"),
    field<&Interface::maxFrame>("maxFrame"),
    field<&Interface::pvid>("pvid"),
    // A file from before the setting: the speed the port runs at.
    custom<Interface>(
        "maxSpeedMbps",
        [](cJSON* o, const Field<Interface>& f, const Interface& i) {
            cJSON_AddNumberToObject(o, f.name, i.maxSpeedMbps);
        },
        [](const StateNode& o, const Field<Interface>& f, Interface& i) {
            i.maxSpeedMbps = i.speedMbps;
            o.u32(f.name, &i.maxSpeedMbps);
        }),
    field<&Interface::autoNeg>("autoNeg"),
    field<&Interface::fullDuplex>("fullDuplex"),
    field<&Interface::flowControl>("flowControl"),
    field<&Interface::ptpTransparent>("ptpTransparent"),
    field<&Interface::poeSchedule>("poeSchedule"),
};

const Table<Unit> kUnitTable = {
    field<&Unit::number>("number"),
    field<&Unit::model>("model"),
    field<&Unit::serial>("serial"),
    field<&Unit::image1>("image1"),
    field<&Unit::image2>("image2"),
    field<&Unit::currentImage>("currentImage"),
    field<&Unit::nextImage>("nextImage"),
};

const Table<Vlan> kVlanTable = {
    field<&Vlan::id>("id"),
    field<&Vlan::name>("name"),
    field<&Vlan::isStatic, StaticFlag>("static"),
};

const Table<SystemConfig> kSystemTable = {
    field<&SystemConfig::mgmtVlan>("mgmtVlan"),
    field<&SystemConfig::mgmtMethod>("mgmtMethod"),
    field<&SystemConfig::mgmtAddress>("mgmtAddress"),
    field<&SystemConfig::mgmtMask>("mgmtMask"),
    field<&SystemConfig::defaultGateway>("defaultGateway"),
    field<&SystemConfig::fanControlMode>("fanControlMode"),
    field<&SystemConfig::lagAutoMode>("lagAutoMode"),
};

}  // namespace sim
