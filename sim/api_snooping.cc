// Control API of IGMP and MLD snooping: the global, per-interface and
// per-VLAN settings of a family and its querier, the counters, the checks,
// and the SSM tables walked in key order (-29 after the last). A family but
// 1 and 2, an interface that is no port or LAG, a VLAN the switch lacks, a
// value out of range or an address of the other family answer -22 and
// change nothing.
#include <algorithm>
#include <tuple>

#include "sim/api_util.h"
#include "sim/model_snooping.h"
#include "sim/state.h"

namespace sim {
namespace {

using namespace api;

// --- Values a setter takes ---------------------------------------------------

typedef bool (*Check)(uint32_t family, uint32_t v);

bool isMode(uint32_t, uint32_t v) { return v <= 1; }
bool isGmi(uint32_t, uint32_t v) { return v >= kSnoopGmiMin && v <= kSnoopGmiMax; }
bool isResponse(uint32_t family, uint32_t v) { return v >= 1 && v <= snoopResponseMax(family); }
bool isQuerierExpiry(uint32_t, uint32_t v) { return v >= kSnoopQuerierExpiryMin && v <= kSnoopQuerierExpiryMax; }
bool isQueryInterval(uint32_t, uint32_t v) { return v >= kSnoopQueryIntervalMin && v <= kSnoopQueryIntervalMax; }
bool isQuerierVersion(uint32_t, uint32_t v) { return v >= 1 && v <= kSnoopQuerierVersionMax; }

// An address of the family from argument i; false when it is none of its.
bool addrIn(const Call& c, size_t i, uint32_t family, std::string* bytes)
{
    InetAddr a = recIn<InetAddr>(c, i);
    if (a.family != family)
        return false;
    *bytes = std::string(reinterpret_cast<const char*>(a.addr), sizeof a.addr);
    return true;
}

// An address in record form as a key that orders as the switch does: an
// IPv4 address's word in network byte order.
std::string orderKey(uint32_t family, std::string bytes)
{
    if (family == kSnoopIgmp && bytes.size() >= 4) {
        uint32_t v;
        memcpy(&v, bytes.data(), 4);
        for (int k = 0; k < 4; ++k)
            bytes[k] = static_cast<char>(v >> (24 - 8 * k));
    }
    return bytes;
}

// An address of the family from argument i as an order key.
bool keyIn(const Call& c, size_t i, uint32_t family, std::string* key)
{
    if (!addrIn(c, i, family, key))
        return false;
    *key = orderKey(family, *key);
    return true;
}

// The address text of the family into argument i (none: the zero address).
void addrOut(Call& c, size_t i, uint32_t family, const std::string& text)
{
    InetAddr a{};
    a.family = family;
    std::string bytes;
    if (snoopAddrBytes(family, text, &bytes))
        memcpy(a.addr, bytes.data(), sizeof a.addr);
    recOut(c, i, a);
}

// The canonical text of the address in argument i, when it is the family's.
bool addrTextIn(const Call& c, size_t i, uint32_t family, std::string* text)
{
    std::string bytes;
    if (!addrIn(c, i, family, &bytes))
        return false;
    *text = snoopAddrText(family, bytes);
    return true;
}

// --- Global settings -------------------------------------------------------------

// A family's value: the value in argument V, the family in argument F.
template <uint32_t SnoopFamily::*M, size_t V, size_t F>
int32_t familyGet(Call& c)
{
    const SnoopFamily* f = snoopFamily(c.st.snooping, c.u32(F));
    if (!f)
        return kInvalid;
    c.setU32(V, f->*M);
    return 0;
}

template <uint32_t SnoopFamily::*M, Check ok>
int32_t familySet(Call& c)
{
    uint32_t family = c.u32(1);
    SnoopFamily* f = snoopFamily(c.st.snooping, family);
    if (!f || !ok(family, c.u32(0)))
        return kInvalid;
    f->*M = c.u32(0);
    c.changed = true;
    return 0;
}

template <uint32_t SnoopingModel::*M>
int32_t switchGet(Call& c)
{
    c.setU32(0, c.st.snooping.*M);
    return 0;
}

template <uint32_t SnoopingModel::*M>
int32_t switchModeSet(Call& c)
{
    if (c.u32(0) > 1)
        return kInvalid;
    c.st.snooping.*M = c.u32(0);
    c.changed = true;
    return 0;
}

template <uint64_t SnoopFamily::*M>
int32_t counterGet(Call& c)
{
    const SnoopFamily* f = snoopFamily(c.st.snooping, c.u32(1));
    if (!f)
        return kInvalid;
    c.setU32(0, static_cast<uint32_t>(f->*M));
    return 0;
}

int32_t enabledMaskGet(Call& c)
{
    const SnoopFamily* f = snoopFamily(c.st.snooping, c.u32(1));
    if (!f)
        return kInvalid;
    c.setText(0, snoopMaskText(c.st, snoopEnabledIntfs(c.st, *f)));
    return 0;
}

int32_t enabledMaskSet(Call& c)
{
    SnoopFamily* f = snoopFamily(c.st.snooping, c.u32(1));
    std::vector<uint32_t> on;
    if (!f || !snoopMaskParse(c.st, c.text(0), &on))
        return kInvalid;
    for (auto& kv : f->interfaces)
        kv.second.mode = 0;
    for (uint32_t n : on)
        f->interfaces[n].mode = 1;
    c.changed = true;
    return 0;
}

int32_t querierAddressGet(Call& c)
{
    uint32_t family = c.u32(1);
    const SnoopFamily* f = snoopFamily(c.st.snooping, family);
    if (!f)
        return kInvalid;
    addrOut(c, 0, family, f->querierAddr);
    return 0;
}

int32_t querierAddressSet(Call& c)
{
    uint32_t family = c.u32(1);
    SnoopFamily* f = snoopFamily(c.st.snooping, family);
    std::string text;
    if (!f || !addrTextIn(c, 0, family, &text))
        return kInvalid;
    f->querierAddr = text;
    c.changed = true;
    return 0;
}

int32_t protocolGet(Call& c)
{
    c.setU32(1, snoopFamily(c.st.snooping, c.u32(0)) ? 1 : 0);
    return 0;
}

int32_t ssmCurrGet(Call& c)
{
    const SnoopFamily* f = snoopFamily(c.st.snooping, c.u32(0));
    if (!f)
        return kInvalid;
    c.setU32(1, snoopSsmCurrent(*f));
    return 0;
}

int32_t ssmMaxGet(Call& c)
{
    if (!snoopFamily(c.st.snooping, c.u32(0)))
        return kInvalid;
    c.setU32(1, kSnoopSsmMfdbCapacity);
    return 0;
}

int32_t ssmMostGet(Call& c)
{
    const SnoopFamily* f = snoopFamily(c.st.snooping, c.u32(0));
    if (!f)
        return kInvalid;
    c.setU32(1, snoopSsmMost(*f));
    return 0;
}

// --- Per interface and per VLAN ------------------------------------------------------

// A setting of an interface (argument 0), value argument 1, family argument 2.
template <uint32_t SnoopIntf::*M>
int32_t intfGet(Call& c)
{
    const SnoopFamily* f = snoopFamily(c.st.snooping, c.u32(2));
    if (!f || !snoopIntfValid(c.st, c.u32(0)))
        return kInvalid;
    c.setU32(1, snoopIntf(*f, c.u32(0)).*M);
    return 0;
}

// The response time stays below the group membership interval.
bool intfTimesAgree(const SnoopIntf& i) { return i.responseTime < i.gmi; }
bool vlanTimesAgree(const SnoopVlan& v) { return v.maxResponse < v.gmi; }

template <uint32_t SnoopIntf::*M, Check ok>
int32_t intfSet(Call& c)
{
    uint32_t family = c.u32(2), n = c.u32(0);
    SnoopFamily* f = snoopFamily(c.st.snooping, family);
    if (!f || !snoopIntfValid(c.st, n) || !ok(family, c.u32(1)))
        return kInvalid;
    SnoopIntf i = snoopIntf(*f, n);
    i.*M = c.u32(1);
    if (!intfTimesAgree(i))
        return kInvalid;
    f->interfaces[n] = i;
    c.changed = true;
    return 0;
}

// A setting of a VLAN (argument 0); the value and family in arguments V and F.
template <uint32_t SnoopVlan::*M, size_t V, size_t F>
int32_t vlanGet(Call& c)
{
    const SnoopFamily* f = snoopFamily(c.st.snooping, c.u32(F));
    if (!f || !snoopVlanValid(c.st, c.u32(0)))
        return kInvalid;
    c.setU32(V, snoopVlan(*f, c.u32(0)).*M);
    return 0;
}

template <uint32_t SnoopVlan::*M, Check ok, size_t V, size_t F>
int32_t vlanSet(Call& c)
{
    uint32_t family = c.u32(F), vlan = c.u32(0);
    SnoopFamily* f = snoopFamily(c.st.snooping, family);
    if (!f || !snoopVlanValid(c.st, vlan) || !ok(family, c.u32(V)))
        return kInvalid;
    SnoopVlan v = snoopVlan(*f, vlan);
    v.*M = c.u32(V);
    if (!vlanTimesAgree(v))
        return kInvalid;
    f->vlans[vlan] = v;
    c.changed = true;
    return 0;
}

template <std::string SnoopVlan::*M>
int32_t vlanAddressGet(Call& c)
{
    uint32_t family = c.u32(2);
    const SnoopFamily* f = snoopFamily(c.st.snooping, family);
    if (!f || !snoopVlanValid(c.st, c.u32(0)))
        return kInvalid;
    addrOut(c, 1, family, snoopVlan(*f, c.u32(0)).*M);
    return 0;
}

int32_t vlanAddressSet(Call& c)
{
    uint32_t family = c.u32(2), vlan = c.u32(0);
    SnoopFamily* f = snoopFamily(c.st.snooping, family);
    std::string text;
    if (!f || !snoopVlanValid(c.st, vlan) || !addrTextIn(c, 1, family, &text))
        return kInvalid;
    SnoopVlan v = snoopVlan(*f, vlan);
    v.querierAddr = text;
    f->vlans[vlan] = v;
    c.changed = true;
    return 0;
}

template <uint32_t SnoopQuerierOper::*M>
int32_t querierOperGet(Call& c)
{
    const SnoopFamily* f = snoopFamily(c.st.snooping, c.u32(2));
    if (!f || !snoopVlanValid(c.st, c.u32(0)))
        return kInvalid;
    c.setU32(1, snoopQuerierOper(*f, c.u32(0)).*M);
    return 0;
}

// --- Checks --------------------------------------------------------------------

int32_t entriesFlush(Call& c)
{
    SnoopFamily* f = snoopFamily(c.st.snooping, c.u32(0));
    if (!f)
        return kInvalid;
    snoopFlush(*f);
    c.changed = true;
    return 0;
}

int32_t isValidIntf(Call& c)
{
    c.setU32(1, snoopIntfValid(c.st, c.u32(0)) ? 1 : 0);
    return 0;
}

int32_t vlanCheckValid(Call& c) { return snoopVlanValid(c.st, c.u32(0)) ? 0 : kInvalid; }

int32_t vlanNextGet(Call& c)
{
    auto it = c.st.vlans.upper_bound(c.u32(0));
    if (it == c.st.vlans.end())
        return kNotFound;
    c.setU32(1, it->first);
    return 0;
}

// --- SSM tables ---------------------------------------------------------------------

// Keys in walk order; addresses as record bytes (which order as the switch's).
typedef std::tuple<std::string, uint32_t, uint32_t> GroupKey;  // group, interface, VLAN
typedef std::tuple<std::string, std::string, uint32_t> EntryKey;  // group, source, VLAN

template <class R, class K>
std::vector<std::pair<K, const R*>> ordered(const std::vector<R>& all, uint32_t family, K (*key)(uint32_t, const R&, bool*))
{
    std::vector<std::pair<K, const R*>> out;
    for (const R& r : all) {
        bool ok = true;
        K k = key(family, r, &ok);
        if (ok)
            out.emplace_back(k, &r);
    }
    std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    return out;
}

GroupKey groupKey(uint32_t family, const SnoopSsmGroup& g, bool* ok)
{
    std::string b;
    *ok = snoopAddrBytes(family, g.group, &b);
    return GroupKey{orderKey(family, b), g.intIfNum, g.vlan};
}

EntryKey entryKey(uint32_t family, const SnoopSsmMfdb& e, bool* ok)
{
    std::string g, s;
    *ok = snoopAddrBytes(family, e.group, &g) && snoopAddrBytes(family, e.source, &s);
    return EntryKey{orderKey(family, g), orderKey(family, s), e.vlan};
}

void groupOut(Call& c, uint32_t family, const SnoopSsmGroup& g)
{
    addrOut(c, 1, family, g.group);
    c.setU32(2, g.intIfNum);
    c.setU32(3, g.vlan);
}

int32_t groupRecordFirst(Call& c)
{
    uint32_t family = c.u32(0);
    const SnoopFamily* f = snoopFamily(c.st.snooping, family);
    if (!f)
        return kInvalid;
    auto all = ordered(f->ssmGroups, family, groupKey);
    if (all.empty())
        return kNotFound;
    groupOut(c, family, *all.front().second);
    return 0;
}

int32_t groupRecordNext(Call& c)
{
    uint32_t family = c.u32(0);
    const SnoopFamily* f = snoopFamily(c.st.snooping, family);
    std::string g;
    if (!f || !keyIn(c, 1, family, &g))
        return kInvalid;
    GroupKey from{g, c.u32(2), c.u32(3)};
    for (const auto& e : ordered(f->ssmGroups, family, groupKey))
        if (e.first > from) {
            groupOut(c, family, *e.second);
            return 0;
        }
    return kNotFound;
}

// The group record of (group argument 1, interface 2, VLAN 3); -22 for an
// unusable key, -29 when there is none.
int32_t findGroup(const Call& c, const SnoopSsmGroup** out)
{
    uint32_t family = c.u32(0);
    const SnoopFamily* f = snoopFamily(c.st.snooping, family);
    std::string g;
    if (!f || !keyIn(c, 1, family, &g))
        return kInvalid;
    for (const auto& e : ordered(f->ssmGroups, family, groupKey))
        if (e.first == GroupKey{g, c.u32(2), c.u32(3)}) {
            *out = e.second;
            return 0;
        }
    return kNotFound;
}

int32_t groupFilterMode(Call& c)
{
    const SnoopSsmGroup* g = nullptr;
    if (int32_t s = findGroup(c, &g))
        return s;
    c.setU32(4, g->filterMode);
    return 0;
}

int32_t groupLastReporter(Call& c)
{
    const SnoopSsmGroup* g = nullptr;
    if (int32_t s = findGroup(c, &g))
        return s;
    addrOut(c, 4, c.u32(0), g->reporter);
    return 0;
}

void entryOut(Call& c, uint32_t family, const SnoopSsmMfdb& e)
{
    addrOut(c, 1, family, e.group);
    addrOut(c, 2, family, e.source);
    c.setU32(3, e.vlan);
}

int32_t mfdbEntryFirst(Call& c)
{
    uint32_t family = c.u32(0);
    const SnoopFamily* f = snoopFamily(c.st.snooping, family);
    if (!f)
        return kInvalid;
    auto all = ordered(f->ssmMfdb, family, entryKey);
    if (all.empty())
        return kNotFound;
    entryOut(c, family, *all.front().second);
    return 0;
}

int32_t mfdbEntryNext(Call& c)
{
    uint32_t family = c.u32(0);
    const SnoopFamily* f = snoopFamily(c.st.snooping, family);
    std::string g, s;
    if (!f || !keyIn(c, 1, family, &g) || !keyIn(c, 2, family, &s))
        return kInvalid;
    EntryKey from{g, s, c.u32(3)};
    for (const auto& e : ordered(f->ssmMfdb, family, entryKey))
        if (e.first > from) {
            entryOut(c, family, *e.second);
            return 0;
        }
    return kNotFound;
}

template <std::vector<uint32_t> SnoopSsmMfdb::*M>
int32_t mfdbEntryMask(Call& c)
{
    uint32_t family = c.u32(0);
    const SnoopFamily* f = snoopFamily(c.st.snooping, family);
    std::string g, s;
    if (!f || !keyIn(c, 1, family, &g) || !keyIn(c, 2, family, &s))
        return kInvalid;
    for (const auto& e : ordered(f->ssmMfdb, family, entryKey))
        if (e.first == EntryKey{g, s, c.u32(3)}) {
            c.setText(4, snoopMaskText(c.st, e.second->*M));
            return 0;
        }
    return kNotFound;
}

// The sources of every record of one group, in the order interface, VLAN, source.
typedef std::tuple<uint32_t, uint32_t, std::string> SourceKey;

std::vector<std::pair<SourceKey, std::string>> sourcesOf(const SnoopFamily& f, uint32_t family, const std::string& g)
{
    std::vector<std::pair<SourceKey, std::string>> out;
    for (const auto& e : ordered(f.ssmGroups, family, groupKey)) {
        if (std::get<0>(e.first) != g)
            continue;
        for (const std::string& src : e.second->sources) {
            std::string b;
            if (snoopAddrBytes(family, src, &b))
                out.emplace_back(SourceKey{e.second->intIfNum, e.second->vlan, orderKey(family, b)}, src);
        }
    }
    std::sort(out.begin(), out.end());
    return out;
}

int32_t srcListEntryGet(Call& c)
{
    uint32_t family = c.u32(0);
    const SnoopFamily* f = snoopFamily(c.st.snooping, family);
    std::string g, s;
    if (!f || !keyIn(c, 1, family, &g) || !keyIn(c, 4, family, &s))
        return kInvalid;
    for (const auto& e : sourcesOf(*f, family, g))
        if (e.first == SourceKey{c.u32(2), c.u32(3), s})
            return 0;
    return kNotFound;
}

int32_t srcListEntryNext(Call& c)
{
    uint32_t family = c.u32(0);
    const SnoopFamily* f = snoopFamily(c.st.snooping, family);
    std::string g, s;
    if (!f || !keyIn(c, 1, family, &g) || !keyIn(c, 4, family, &s))
        return kInvalid;
    SourceKey from{c.u32(2), c.u32(3), s};
    for (const auto& e : sourcesOf(*f, family, g))
        if (e.first > from) {
            c.setU32(2, std::get<0>(e.first));
            c.setU32(3, std::get<1>(e.first));
            addrOut(c, 4, family, e.second);
            return 0;
        }
    return kNotFound;
}

const OpRegistrar kOps[] = {
    SIM_OP(openapiSnoopAdminModeGet, familyGet<&SnoopFamily::adminMode, 0, 1>),
    SIM_OP(openapiSnoopAdminModeSet, familySet<&SnoopFamily::adminMode, isMode>),
    SIM_OP(openapiSnoopProxyQuerierAdminModeGet, familyGet<&SnoopFamily::proxyQuerier, 0, 1>),
    SIM_OP(openapiSnoopProxyQuerierAdminModeSet, familySet<&SnoopFamily::proxyQuerier, isMode>),
    SIM_OP(openapiSnoopFloodUnknownAllPortsGet, switchGet<&SnoopingModel::floodUnknownAll>),
    SIM_OP(openapiSnoopFloodUnknownAllPortsSet, switchModeSet<&SnoopingModel::floodUnknownAll>),
    SIM_OP(openapiSnoopAutoVideoModeGet, switchGet<&SnoopingModel::autoVideoMode>),
    SIM_OP(openapiSnoopAutoVideoModeSet, switchModeSet<&SnoopingModel::autoVideoMode>),
    SIM_OP(openapiSnoopIntfEnabledMaskGet, enabledMaskGet),
    SIM_OP(openapiSnoopIntfEnabledMaskSet, enabledMaskSet),
    SIM_OP(openapiSnoopQuerierAddressGet, querierAddressGet),
    SIM_OP(openapiSnoopQuerierAddressSet, querierAddressSet),
    SIM_OP(openapiSnoopQuerierAdminModeGet, familyGet<&SnoopFamily::querierAdmin, 0, 1>),
    SIM_OP(openapiSnoopQuerierAdminModeSet, familySet<&SnoopFamily::querierAdmin, isMode>),
    SIM_OP(openapiSnoopQuerierExpiryIntervalGet, familyGet<&SnoopFamily::querierExpiry, 0, 1>),
    SIM_OP(openapiSnoopQuerierExpiryIntervalSet, familySet<&SnoopFamily::querierExpiry, isQuerierExpiry>),
    SIM_OP(openapiSnoopQuerierQueryIntervalGet, familyGet<&SnoopFamily::queryInterval, 0, 1>),
    SIM_OP(openapiSnoopQuerierQueryIntervalSet, familySet<&SnoopFamily::queryInterval, isQueryInterval>),
    SIM_OP(openapiSnoopQuerierVersionGet, familyGet<&SnoopFamily::querierVersion, 0, 1>),
    SIM_OP(openapiSnoopQuerierVersionSet, familySet<&SnoopFamily::querierVersion, isQuerierVersion>),
    SIM_OP(openapiSnoopProtocolGet, protocolGet),
    SIM_OP(openapiSnoopControlFramesProcessedGet, counterGet<&SnoopFamily::controlFrames>),
    SIM_OP(openapiSnoopDataFramesForwardedGet, counterGet<&SnoopFamily::dataForwarded>),
    SIM_OP(openapiSnoopAutoVideoVlanGet, switchGet<&SnoopingModel::autoVideoVlan>),
    SIM_OP(openapiSnoopSSMMfdbCurrEntriesGet, ssmCurrGet),
    SIM_OP(openapiSnoopSSMMfdbMaxTableEntriesGet, ssmMaxGet),
    SIM_OP(openapiSnoopSSMMfdbMostEntriesGet, ssmMostGet),
    SIM_OP(openapiSnoopIntfModeGet, intfGet<&SnoopIntf::mode>),
    SIM_OP(openapiSnoopIntfModeSet, intfSet<&SnoopIntf::mode, isMode>),
    SIM_OP(openapiSnoopIntfFastLeaveAdminModeGet, intfGet<&SnoopIntf::fastLeave>),
    SIM_OP(openapiSnoopIntfFastLeaveAdminModeSet, intfSet<&SnoopIntf::fastLeave, isMode>),
    SIM_OP(openapiSnoopIntfProxyQuerierModeGet, intfGet<&SnoopIntf::proxyQuerier>),
    SIM_OP(openapiSnoopIntfProxyQuerierModeSet, intfSet<&SnoopIntf::proxyQuerier, isMode>),
    SIM_OP(openapiSnoopIntfGroupMembershipIntervalGet, intfGet<&SnoopIntf::gmi>),
    SIM_OP(openapiSnoopIntfGroupMembershipIntervalSet, intfSet<&SnoopIntf::gmi, isGmi>),
    SIM_OP(openapiSnoopIntfResponseTimeGet, intfGet<&SnoopIntf::responseTime>),
    SIM_OP(openapiSnoopIntfResponseTimeSet, intfSet<&SnoopIntf::responseTime, isResponse>),
    SIM_OP(openapiSnoopVlanModeGet, vlanGet<&SnoopVlan::mode, 1, 2>),
    SIM_OP(openapiSnoopVlanModeSet, vlanSet<&SnoopVlan::mode, isMode, 1, 2>),
    SIM_OP(openapiSnoopVlanFastLeaveModeGet, vlanGet<&SnoopVlan::fastLeave, 1, 2>),
    SIM_OP(openapiSnoopVlanFastLeaveModeSet, vlanSet<&SnoopVlan::fastLeave, isMode, 1, 2>),
    SIM_OP(openapiSnoopVlanGroupMembershipIntervalGet, vlanGet<&SnoopVlan::gmi, 1, 2>),
    SIM_OP(openapiSnoopVlanGroupMembershipIntervalSet, vlanSet<&SnoopVlan::gmi, isGmi, 1, 2>),
    SIM_OP(openapiSnoopVlanMaximumResponseTimeGet, vlanGet<&SnoopVlan::maxResponse, 1, 2>),
    SIM_OP(openapiSnoopVlanMaximumResponseTimeSet, vlanSet<&SnoopVlan::maxResponse, isResponse, 1, 2>),
    SIM_OP(openapiSnoopVlanProxyQuerierModeGet, vlanGet<&SnoopVlan::proxyQuerier, 1, 2>),
    SIM_OP(openapiSnoopVlanProxyQuerierModeSet, vlanSet<&SnoopVlan::proxyQuerier, isMode, 1, 2>),
    SIM_OP(openapiSnoopVlanReportSuppModeGet, vlanGet<&SnoopVlan::reportSupp, 2, 1>),
    SIM_OP(openapiSnoopVlanReportSuppModeSet, vlanSet<&SnoopVlan::reportSupp, isMode, 2, 1>),
    SIM_OP(openapiSnoopQuerierVlanModeGet, vlanGet<&SnoopVlan::querierMode, 1, 2>),
    SIM_OP(openapiSnoopQuerierVlanModeSet, vlanSet<&SnoopVlan::querierMode, isMode, 1, 2>),
    SIM_OP(openapiSnoopQuerierVlanElectionModeGet, vlanGet<&SnoopVlan::querierElection, 1, 2>),
    SIM_OP(openapiSnoopQuerierVlanElectionModeSet, vlanSet<&SnoopVlan::querierElection, isMode, 1, 2>),
    SIM_OP(openapiSnoopQuerierVlanAddressGet, vlanAddressGet<&SnoopVlan::querierAddr>),
    SIM_OP(openapiSnoopQuerierVlanAddressSet, vlanAddressSet),
    SIM_OP(openapiSnoopQuerierLastQuerierAddressGet, vlanAddressGet<&SnoopVlan::lastQuerierAddr>),
    SIM_OP(openapiSnoopQuerierLastQuerierVersionGet, vlanGet<&SnoopVlan::lastQuerierVersion, 1, 2>),
    SIM_OP(openapiSnoopQuerierOperMaxRespTimeGet, querierOperGet<&SnoopQuerierOper::maxRespTime>),
    SIM_OP(openapiSnoopQuerierOperStateGet, querierOperGet<&SnoopQuerierOper::state>),
    SIM_OP(openapiSnoopQuerierOperVersionGet, querierOperGet<&SnoopQuerierOper::version>),
    SIM_OP(openapiSnoopEntriesFlush, entriesFlush),
    SIM_OP(openapiSnoopIsValidIntf, isValidIntf),
    SIM_OP(openapiSnoopVlanCheckValid, vlanCheckValid),
    SIM_OP(openapiSnoopVlanNextGet, vlanNextGet),
    SIM_OP(openapiSnoopSSMGroupRecordFirstGet, groupRecordFirst),
    SIM_OP(openapiSnoopSSMGroupRecordNextGet, groupRecordNext),
    SIM_OP(openapiSnoopSSMGroupFilterModeGet, groupFilterMode),
    SIM_OP(openapiSnoopSSMGroupLastReporterGet, groupLastReporter),
    SIM_OP(openapiSnoopSSMMfdbEntryFirstGet, mfdbEntryFirst),
    SIM_OP(openapiSnoopSSMMfdbEntryNextGet, mfdbEntryNext),
    SIM_OP(openapiSnoopSSMMfdbEntryIncPortMaskGet, mfdbEntryMask<&SnoopSsmMfdb::include>),
    SIM_OP(openapiSnoopSSMMfdbEntryExcPortMaskGet, mfdbEntryMask<&SnoopSsmMfdb::exclude>),
    SIM_OP(openapiSnoopSSMSrcListEntryGet, srcListEntryGet),
    SIM_OP(openapiSnoopSSMSrcListEntryNextGet, srcListEntryNext),
};

}  // namespace
}  // namespace sim
