// IGMP and MLD snooping of the simulated switch.
#include "sim/model_snooping.h"

#include <arpa/inet.h>

#include <algorithm>
#include <cstring>

#include "sim/cli_show.h"
#include "sim/state.h"

namespace sim {

using namespace schema;

SnoopFamily* snoopFamily(SnoopingModel& m, uint32_t family)
{
    return family == kSnoopIgmp ? &m.igmp : family == kSnoopMld ? &m.mld : nullptr;
}

const SnoopFamily* snoopFamily(const SnoopingModel& m, uint32_t family)
{
    return family == kSnoopIgmp ? &m.igmp : family == kSnoopMld ? &m.mld : nullptr;
}

bool snoopIntfValid(const SwitchState& st, uint32_t intIfNum)
{
    auto it = st.interfaces.find(intIfNum);
    return it != st.interfaces.end() && (it->second.type == kIfPhysical || it->second.type == kIfLag);
}

bool snoopVlanValid(const SwitchState& st, uint32_t vlan) { return st.vlans.count(vlan) != 0; }

SnoopIntf snoopIntf(const SnoopFamily& f, uint32_t intIfNum)
{
    auto it = f.interfaces.find(intIfNum);
    return it == f.interfaces.end() ? SnoopIntf() : it->second;
}

SnoopVlan snoopVlan(const SnoopFamily& f, uint32_t vlan)
{
    auto it = f.vlans.find(vlan);
    return it == f.vlans.end() ? SnoopVlan() : it->second;
}

uint32_t snoopResponseMax(uint32_t family) { return family == kSnoopMld ? kSnoopResponseMaxMld : kSnoopResponseMaxIgmp; }

bool snoopAddrBytes(uint32_t family, const std::string& text, std::string* bytes)
{
    uint8_t a[16] = {0};
    if (family == kSnoopIgmp) {
        in_addr v4;
        if (inet_pton(AF_INET, text.c_str(), &v4) != 1)
            return false;
        uint32_t host = ntohl(v4.s_addr);
        memcpy(a, &host, 4);
    } else if (family == kSnoopMld) {
        if (inet_pton(AF_INET6, text.c_str(), a) != 1)
            return false;
    } else {
        return false;
    }
    bytes->assign(reinterpret_cast<const char*>(a), sizeof a);
    return true;
}

std::string snoopAddrText(uint32_t family, const std::string& bytes)
{
    uint8_t a[16] = {0};
    memcpy(a, bytes.data(), std::min(bytes.size(), sizeof a));
    char text[INET6_ADDRSTRLEN] = "";
    if (family == kSnoopIgmp) {
        uint32_t host;
        memcpy(&host, a, 4);
        in_addr v4;
        v4.s_addr = htonl(host);
        inet_ntop(AF_INET, &v4, text, sizeof text);
    } else {
        inet_ntop(AF_INET6, a, text, sizeof text);
    }
    return text;
}

SnoopQuerierOper snoopQuerierOper(const SnoopFamily& f, uint32_t vlan)
{
    SnoopVlan v = snoopVlan(f, vlan);
    SnoopQuerierOper o;
    if (f.adminMode && f.querierAdmin && v.querierMode) {
        o.state = kQuerierActive;
        o.version = f.querierVersion;
        o.maxRespTime = v.maxResponse;
    } else if (!v.lastQuerierAddr.empty()) {
        o.state = kQuerierNonQuerier;
        o.version = v.lastQuerierVersion;
        o.maxRespTime = v.maxResponse;
    }
    return o;
}

std::string snoopMaskText(const SwitchState& st, const std::vector<uint32_t>& list)
{
    std::string out;
    for (uint32_t n : list) {
        std::string name = cli::intfName(st, n);
        if (name.empty())
            continue;
        if (!out.empty())
            out += ",";
        out += name;
    }
    return out;
}

bool snoopMaskParse(const SwitchState& st, const std::string& text, std::vector<uint32_t>* out)
{
    out->clear();
    size_t at = 0;
    while (at <= text.size()) {
        size_t comma = text.find(',', at);
        if (comma == std::string::npos)
            comma = text.size();
        std::string name = text.substr(at, comma - at);
        size_t b = name.find_first_not_of(' '), e = name.find_last_not_of(' ');
        name = b == std::string::npos ? std::string() : name.substr(b, e - b + 1);
        if (name.empty()) {
            if (!(comma == text.size() && at == 0 && text.find_first_not_of(' ') == std::string::npos))
                return false;  // an empty name between commas
        } else {
            bool found = false;
            for (const auto& kv : st.interfaces)
                if (kv.second.name == name && snoopIntfValid(st, kv.first)) {
                    if (std::find(out->begin(), out->end(), kv.first) == out->end())
                        out->push_back(kv.first);
                    found = true;
                }
            if (!found)
                return false;
        }
        at = comma + 1;
    }
    return true;
}

std::vector<uint32_t> snoopEnabledIntfs(const SwitchState& st, const SnoopFamily& f)
{
    std::vector<uint32_t> out;
    for (const auto& kv : f.interfaces)
        if (kv.second.mode && snoopIntfValid(st, kv.first))
            out.push_back(kv.first);
    return out;
}

std::vector<uint32_t> snoopStaticMrouters(const SnoopFamily& f, uint32_t vlan)
{
    std::vector<uint32_t> out;
    for (const auto& kv : f.interfaces)
        if (std::find(kv.second.staticMrtrVlans.begin(), kv.second.staticMrtrVlans.end(), vlan) !=
            kv.second.staticMrtrVlans.end())
            out.push_back(kv.first);
    return out;
}

void snoopFlush(SnoopFamily& f)
{
    f.groups.clear();
    f.ssmGroups.clear();
    f.ssmMfdb.clear();
    for (auto& kv : f.interfaces)
        kv.second.dynamicMrouter = 0;
    for (auto& kv : f.vlans)
        kv.second.dynamicMrouters.clear();
}

uint32_t snoopSsmCurrent(const SnoopFamily& f) { return static_cast<uint32_t>(f.ssmMfdb.size()); }

uint32_t snoopSsmMost(const SnoopFamily& f) { return std::max(f.ssmMostEntries, snoopSsmCurrent(f)); }

namespace {

const Table<SnoopIntf> kSnoopIntfTable = {
    field<&SnoopIntf::mode>("mode"),
    field<&SnoopIntf::fastLeave>("fastLeave"),
    field<&SnoopIntf::proxyQuerier>("proxyQuerier"),
    field<&SnoopIntf::gmi>("groupMembershipInterval"),
    field<&SnoopIntf::responseTime>("responseTime"),
    field<&SnoopIntf::mrtrExpiry>("mrouterExpiry"),
    field<&SnoopIntf::staticMrouter>("staticMrouter"),
    field<&SnoopIntf::dynamicMrouter>("dynamicMrouter"),
    field<&SnoopIntf::staticMrtrVlans, List<U32>>("staticMrouterVlans"),
};

const Table<SnoopVlan> kSnoopVlanTable = {
    field<&SnoopVlan::mode>("mode"),
    field<&SnoopVlan::fastLeave>("fastLeave"),
    field<&SnoopVlan::gmi>("groupMembershipInterval"),
    field<&SnoopVlan::maxResponse>("maxResponseTime"),
    field<&SnoopVlan::proxyQuerier>("proxyQuerier"),
    field<&SnoopVlan::reportSupp>("reportSuppression"),
    field<&SnoopVlan::mrtrExpiry>("mrouterExpiry"),
    field<&SnoopVlan::plusMode>("plusMode"),
    field<&SnoopVlan::excludeMrouter>("excludeMrouter"),
    field<&SnoopVlan::reportFlood>("reportFlood"),
    field<&SnoopVlan::querierMode>("querierMode"),
    field<&SnoopVlan::querierElection>("querierElection"),
    field<&SnoopVlan::querierAddr>("querierAddress"),
    field<&SnoopVlan::dynamicMrouters, List<U32>>("dynamicMrouters"),
    field<&SnoopVlan::lastQuerierAddr>("lastQuerierAddress"),
    field<&SnoopVlan::lastQuerierVersion>("lastQuerierVersion"),
    field<&SnoopVlan::querierMac>("querierMac"),
};

const Table<SnoopGroup> kSnoopGroupTable = {
    field<&SnoopGroup::vlan>("vlan"),
    field<&SnoopGroup::group>("group"),
    field<&SnoopGroup::intIfNum>("intIfNum"),
    field<&SnoopGroup::subscriber>("subscriber"),
    field<&SnoopGroup::subscriberMac>("subscriberMac"),
    field<&SnoopGroup::version>("version"),
    field<&SnoopGroup::timeout>("timeout"),
};

const Table<SnoopSsmGroup> kSnoopSsmGroupTable = {
    field<&SnoopSsmGroup::group>("group"),
    field<&SnoopSsmGroup::intIfNum>("intIfNum"),
    field<&SnoopSsmGroup::vlan>("vlan"),
    field<&SnoopSsmGroup::filterMode>("filterMode"),
    field<&SnoopSsmGroup::reporter>("reporter"),
    field<&SnoopSsmGroup::sources, List<Text>>("sources"),
};

const Table<SnoopSsmMfdb> kSnoopSsmMfdbTable = {
    field<&SnoopSsmMfdb::group>("group"),
    field<&SnoopSsmMfdb::source>("source"),
    field<&SnoopSsmMfdb::vlan>("vlan"),
    field<&SnoopSsmMfdb::include, List<U32>>("include"),
    field<&SnoopSsmMfdb::exclude, List<U32>>("exclude"),
};

const Table<SnoopFamily> kSnoopFamilyTable = {
    field<&SnoopFamily::adminMode>("adminMode"),
    field<&SnoopFamily::proxyQuerier>("proxyQuerier"),
    field<&SnoopFamily::plusMode>("plusMode"),
    field<&SnoopFamily::excludeMrouter>("excludeMrouter"),
    field<&SnoopFamily::reportFlood>("reportFlood"),
    field<&SnoopFamily::headerValidation>("headerValidation"),
    field<&SnoopFamily::fastLeaveAuto>("fastLeaveAutoAssignment"),
    field<&SnoopFamily::querierAddr>("querierAddress"),
    field<&SnoopFamily::querierAdmin>("querierAdminMode"),
    field<&SnoopFamily::querierExpiry>("querierExpiryInterval"),
    field<&SnoopFamily::queryInterval>("queryInterval"),
    field<&SnoopFamily::querierVersion>("querierVersion"),
    field<&SnoopFamily::controlFrames>("controlFramesProcessed"),
    field<&SnoopFamily::dataForwarded>("dataFramesForwarded"),
    keyed<&SnoopFamily::interfaces, kSnoopIntfTable>("interfaces", "intIfNum"),
    keyed<&SnoopFamily::vlans, kSnoopVlanTable>("vlans", "vlan"),
    field<&SnoopFamily::groups, List<Obj<SnoopGroup, kSnoopGroupTable>>>("groups"),
    field<&SnoopFamily::ssmGroups, List<Obj<SnoopSsmGroup, kSnoopSsmGroupTable>>>("ssmGroups"),
    field<&SnoopFamily::ssmMfdb, List<Obj<SnoopSsmMfdb, kSnoopSsmMfdbTable>>>("ssmMfdb"),
    field<&SnoopFamily::ssmMostEntries>("ssmMostEntries"),
};

}  // namespace

const Table<SnoopingModel> kSnoopingTable = {
    field<&SnoopingModel::igmp, Obj<SnoopFamily, kSnoopFamilyTable>>("igmp"),
    field<&SnoopingModel::mld, Obj<SnoopFamily, kSnoopFamilyTable>>("mld"),
    field<&SnoopingModel::floodUnknownAll>("floodUnknownAllPorts"),
    field<&SnoopingModel::autoVideoMode>("autoVideoMode"),
    field<&SnoopingModel::autoVideoVlan>("autoVideoVlan"),
};

}  // namespace sim
