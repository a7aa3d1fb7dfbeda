// The ARP cache rules.
#include "sim/model_arp.h"

#include "sim/addr.h"
#include "sim/routing_model.h"

namespace sim {

namespace {

void notePeak(RoutingModel& m)
{
    uint32_t n = static_cast<uint32_t>(m.arp.size());
    if (n > m.arpConfig.peak)
        m.arpConfig.peak = n;
}

}  // namespace

bool usableMac(const std::string& mac)
{
    return mac.size() == 6 && mac != std::string(6, '\0') && !(static_cast<unsigned char>(mac[0]) & 1);
}

ArpVerdict arpStaticAdd(RoutingModel& m, uint32_t ip, const std::string& mac, bool* changed)
{
    if (!usableMac(mac))
        return ArpVerdict::kBadMac;
    uint32_t intf = ip == 0 ? 0 : subnetIntfOf(m, ip);
    if (!intf)
        return ArpVerdict::kBadAddress;
    auto it = m.arp.find(ip);
    uint32_t statics = 0;
    for (const auto& kv : m.arp)
        statics += kv.second.isStatic;
    if ((it == m.arp.end() || !it->second.isStatic) && statics >= kArpStaticMax)
        return ArpVerdict::kFull;
    ArpEntry e{intf, mac, true};
    if (it == m.arp.end() || it->second.intIfNum != e.intIfNum || it->second.mac != e.mac || !it->second.isStatic) {
        m.arp[ip] = e;
        *changed = true;
    }
    notePeak(m);
    return ArpVerdict::kDone;
}

ArpVerdict arpDynamicAdd(RoutingModel& m, uint32_t intIfNum, uint32_t ip, const std::string& mac)
{
    if (ip == 0)
        return ArpVerdict::kBadAddress;
    if (!usableMac(mac))
        return ArpVerdict::kBadMac;
    m.arp[ip] = ArpEntry{intIfNum, mac, false};
    notePeak(m);
    return ArpVerdict::kDone;
}

ArpVerdict arpDelete(RoutingModel& m, uint32_t ip, bool staticToo)
{
    auto it = m.arp.find(ip);
    if (it == m.arp.end() || (it->second.isStatic && !staticToo))
        return ArpVerdict::kNotFound;
    m.arp.erase(it);
    return ArpVerdict::kDone;
}

bool isGateway(const RoutingModel& m, uint32_t ip)
{
    for (const Route& r : m.routes)
        if (r.rec.protoId == kProtoStatic)
            for (const NextHop& h : r.hops)
                if (h.family == kFamilyIpv4 && v4Of(h.addr) == ip)
                    return true;
    return false;
}

bool arpClearDynamic(RoutingModel& m, bool gateways)
{
    bool any = false;
    for (auto it = m.arp.begin(); it != m.arp.end();) {
        if (!it->second.isStatic && (gateways || !isGateway(m, it->first))) {
            it = m.arp.erase(it);
            any = true;
        } else {
            ++it;
        }
    }
    return any;
}

using namespace schema;

const Table<ArpEntry> kArpEntryTable = {
    field<&ArpEntry::intIfNum>("intIfNum"),
    field<&ArpEntry::isStatic, FlagNumber>("static"),
    field<&ArpEntry::mac, Bytes<6>>("mac"),
};

const Table<ArpConfig> kArpConfigTable = {
    field<&ArpConfig::ageTime>("ageTime"),     field<&ArpConfig::respTime>("respTime"),
    field<&ArpConfig::retries>("retries"),     field<&ArpConfig::cacheSize>("cacheSize"),
    field<&ArpConfig::dynamicRenew>("dynamicRenew"), field<&ArpConfig::peak>("peak"),
};

}  // namespace sim
