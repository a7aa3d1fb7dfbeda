// The helper address rules and the relay records in the state file.
#include "sim/model_relay.h"

#include "platform/openclt/openclt.h"
#include "sim/addr.h"
#include "sim/state.h"

namespace sim {

namespace {

bool validServer(uint32_t server, uint32_t udpPort) { return helperServerValid(server) && udpPort <= 65535; }

template <class Table, class Key>
int32_t addEntry(Table& table, const Key& key)
{
    return table.insert(key).second ? kOpenOk : kOpenExists;
}

template <class Table, class Key>
int32_t removeEntry(Table& table, const Key& key)
{
    return table.erase(key) ? kOpenOk : kOpenNotFound;
}

}  // namespace

bool helperServerValid(uint32_t server) { return unicastHostV4(server); }

int32_t helperAddressAdd(IpHelper& h, uint32_t server, uint32_t udpPort)
{
    if (!validServer(server, udpPort))
        return kOpenInvalidParam;
    return addEntry(h.global, std::make_pair(server, udpPort));
}

int32_t helperAddressDelete(IpHelper& h, uint32_t server, uint32_t udpPort)
{
    return removeEntry(h.global, std::make_pair(server, udpPort));
}

int32_t intfHelperAddressAdd(SwitchState& st, uint32_t intIfNum, uint32_t server, uint32_t udpPort)
{
    if (!st.interfaces.count(intIfNum) || !validServer(server, udpPort))
        return kOpenInvalidParam;
    return addEntry(st.routing.helper.perIntf, std::make_tuple(intIfNum, server, udpPort));
}

int32_t intfHelperAddressDelete(IpHelper& h, uint32_t intIfNum, uint32_t server, uint32_t udpPort)
{
    return removeEntry(h.perIntf, std::make_tuple(intIfNum, server, udpPort));
}

int32_t helperDiscardAdd(SwitchState& st, uint32_t intIfNum, uint32_t udpPort)
{
    if (!st.interfaces.count(intIfNum) || udpPort > 65535)
        return kOpenInvalidParam;
    return addEntry(st.routing.helper.discards, std::make_pair(intIfNum, udpPort));
}

int32_t helperDiscardDelete(IpHelper& h, uint32_t intIfNum, uint32_t udpPort)
{
    return removeEntry(h.discards, std::make_pair(intIfNum, udpPort));
}

bool helperClearIntf(IpHelper& h, uint32_t intIfNum)
{
    bool any = false;
    for (auto it = h.perIntf.begin(); it != h.perIntf.end();) {
        any = any || std::get<0>(*it) == intIfNum;
        it = std::get<0>(*it) == intIfNum ? h.perIntf.erase(it) : std::next(it);
    }
    for (auto it = h.discards.begin(); it != h.discards.end();) {
        any = any || it->first == intIfNum;
        it = it->first == intIfNum ? h.discards.erase(it) : std::next(it);
    }
    return any;
}

using namespace schema;

const Table<IpHelper> kIpHelperTable = {
    field<&IpHelper::mode>("mode"),
    field<&IpHelper::global, TupleSet>("global"),
    field<&IpHelper::perIntf, TupleSet>("perIntf"),
    field<&IpHelper::discards, TupleSet>("discards"),
};

const Table<RelayIntf> kRelayIntfTable = {
    field<&RelayIntf::serverOverride>("serverOverride"),
    field<&RelayIntf::cidOption>("cidOption"),
    field<&RelayIntf::cidCheck>("cidCheck"),
    field<&RelayIntf::sourceIntf>("sourceIntf"),
};

namespace {

// The counters in their line order; a file may list fewer (the rest keep
// their values), not more.
struct Counters {
    static cJSON* make(const uint32_t (&c)[kRelayCounters])
    {
        cJSON* a = cJSON_CreateArray();
        for (uint32_t v : c)
            cJSON_AddItemToArray(a, cJSON_CreateNumber(v));
        return a;
    }
    static void read(const StateNode& n, uint32_t (&c)[kRelayCounters])
    {
        size_t count = 0;
        n.eachElement([&](const StateNode& e) {
            if (count < kRelayCounters)
                e.asU32(&c[count]);
            else
                e.fault("at most " + std::to_string(kRelayCounters) + " counters expected");
            ++count;
        });
    }
};

}  // namespace

const Table<RelayConfig> kRelayTable = {
    field<&RelayConfig::maxHopCount>("maxHopCount"),
    field<&RelayConfig::minWaitTime>("minWaitTime"),
    field<&RelayConfig::cidOption>("cidOption"),
    field<&RelayConfig::cidCheck>("cidCheck"),
    field<&RelayConfig::serverOverride>("serverOverride"),
    field<&RelayConfig::sourceIntf>("sourceIntf"),
    field<&RelayConfig::counters, Counters>("counters"),
    field<&RelayConfig::intfs, Numbered<Obj<RelayIntf, kRelayIntfTable>>>("intfs"),
};

}  // namespace sim
