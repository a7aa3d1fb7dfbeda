// The default switch and the state file.
#include "sim/state.h"

#include "sim/state_reader.h"

#include <cjson/cJSON.h>
#include <errno.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

namespace sim {

// One stack unit: 24 copper ports at 1G and 4 SFP+ ports at 10G (interfaces
// 1-28, "1/0/1".."1/0/28"), 8 LAGs (interfaces 29-36, "lag 1".."lag 8"),
// VLAN 1. VLAN routing interfaces are numbered from 37 as they are created.
SwitchState defaultSwitch()
{
    SwitchState st;
    st.units.push_back(Unit{1, "KX810-A", "KX810A0001"});
    for (uint32_t p = 1; p <= 28; ++p) {
        Interface i;
        i.intIfNum = p;
        i.type = kIfPhysical;
        i.unit = 1;
        i.slot = 0;
        i.port = p;
        i.name = "1/0/" + std::to_string(p);
        i.speedMbps = p <= 24 ? 1000 : 10000;
        i.maxSpeedMbps = i.speedMbps;
        i.linkUp = p <= 4 ? 1 : 0;
        st.interfaces[p] = i;
    }
    for (uint32_t l = 1; l <= 8; ++l) {
        Interface i;
        i.intIfNum = 28 + l;
        i.type = kIfLag;
        i.port = l;
        i.name = "lag " + std::to_string(l);
        i.linkUp = 0;
        st.interfaces[i.intIfNum] = i;
    }
    st.vlans[1] = Vlan{1, "default", true};
    st.logging = defaultLogging();
    st.mfdb = defaultMfdb();
    saveStartupConfig(st);
    return st;
}

namespace {

using namespace schema;

// Every state has at least one unit.
void loadUnits(const StateNode& o, const Field<SwitchState>& f, SwitchState& st)
{
    List<Obj<Unit, kUnitTable>>::read(o.member(f.name), st.units);
    if (st.units.empty())
        o.member(f.name).fault("at least one unit expected");
}

void saveUnits(cJSON* o, const Field<SwitchState>& f, const SwitchState& st)
{
    cJSON_AddItemToObject(o, f.name, List<Obj<Unit, kUnitTable>>::make(st.units));
}

const Table<SwitchState> kSwitchTable = {
    custom<SwitchState>("units", saveUnits, loadUnits),
    keyed<&SwitchState::interfaces, kInterfaceTable>("interfaces", "intIfNum"),
    keyed<&SwitchState::vlans, kVlanTable>("vlans", "id"),
    field<&SwitchState::appDbs, NamedMap<NamedMap<Text>>>("appDbs"),
    field<&SwitchState::values, NamedMap<List<Hex>>>("values"),
    field<&SwitchState::routing, Obj<RoutingModel, kRoutingTable>>("routing"),
    field<&SwitchState::system, Obj<SystemConfig, kSystemTable>>("system"),
    field<&SwitchState::ipv6, Obj<Ipv6Model, kIpv6Table>>("ipv6"),
    field<&SwitchState::routing, Obj<RoutingModel, kIpv4CliTable>>("ipv4Cli"),
    field<&SwitchState::chassis, Obj<ChassisModel, kChassisTable>>("chassis"),
    field<&SwitchState::tcam, Obj<TcamModel, kTcamTable>>("tcam"),
    field<&SwitchState::logging, Obj<LoggingModel, kLoggingTable>>("logging"),
    field<&SwitchState::mcast, Obj<McastModel, kMcastTable>>("mcast"),
    field<&SwitchState::mvr, Obj<MvrModel, kMvrTable>>("mvr"),
    field<&SwitchState::mfdb, Obj<MfdbModel, kMfdbTable>>("mfdb"),
    field<&SwitchState::snooping, Obj<SnoopingModel, kSnoopingTable>>("snooping"),
    field<&SwitchState::sysModel, Obj<SystemModel, kSystemModelTable>>("systemModel"),
    field<&SwitchState::mgmt, Obj<MgmtModel, kMgmtTable>>("mgmt"),
};

}  // namespace

std::string stateText(const SwitchState& st)
{
    cJSON* root = cJSON_CreateObject();
    saveRecord(root, st, kSwitchTable);
    char* text = cJSON_Print(root);
    cJSON_Delete(root);
    std::string out = text ? text : "";
    free(text);
    return out;
}

bool saveState(const SwitchState& st, const std::string& path)
{
    std::string text = stateText(st);
    if (text.empty())
        return false;
    std::string tmp = path + ".tmp";
    FILE* f = fopen(tmp.c_str(), "we");
    bool ok = f && fputs(text.c_str(), f) >= 0;
    if (f) {
        ok = fflush(f) == 0 && fsync(fileno(f)) == 0 && ok;
        fclose(f);
    }
    if (!ok || rename(tmp.c_str(), path.c_str()) != 0) {
        unlink(tmp.c_str());
        return false;
    }
    return true;
}

bool loadState(SwitchState* st, const std::string& path, std::string* why)
{
    std::string ignored;
    if (!why)
        why = &ignored;
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    if (in)
        ss << in.rdbuf();
    if (!in || in.bad()) {
        *why = "it cannot be read";
        return false;
    }
    std::string text = ss.str();
    const char* end = nullptr;
    std::unique_ptr<cJSON, void (*)(cJSON*)> json(cJSON_ParseWithOpts(text.c_str(), &end, 1), cJSON_Delete);
    if (!json || end != text.c_str() + text.size()) {
        // cJSON stops at a NUL byte: such a file is no JSON text either.
        size_t at = end && end >= text.c_str() ? static_cast<size_t>(end - text.c_str()) : 0;
        *why = "no JSON text (the fault is near byte " + std::to_string(at) + ")";
        return false;
    }
    StateFaults faults;
    StateNode root(json.get(), "", &faults);
    if (!root.isA(cJSON_Object, "an object")) {
        *why = faults.text();
        return false;
    }
    // A member the file lacks keeps the fresh switch's value: a file written
    // before an area of the switch existed loads that area as a new switch
    // has it. Every list and map a file holds replaces the fresh one whole.
    SwitchState s = defaultSwitch();
    loadRecord(root, s, kSwitchTable);
    if (!faults.ok()) {
        *why = faults.text();
        return false;
    }
    *st = std::move(s);
    return true;
}

}  // namespace sim
