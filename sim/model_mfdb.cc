// Multicast forwarding database of the simulated switch.
#include "sim/model_mfdb.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "sim/state.h"

namespace sim {

namespace {

int hexNibble(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// `n` colon-separated bytes of two hex digits each, the whole text.
bool hexBytes(const std::string& t, size_t n, uint8_t* out)
{
    if (t.size() != 3 * n - 1)
        return false;
    for (size_t i = 0; i < n; ++i) {
        int hi = hexNibble(t[3 * i]), lo = hexNibble(t[3 * i + 1]);
        if (hi < 0 || lo < 0 || (i + 1 < n && t[3 * i + 2] != ':'))
            return false;
        out[i] = static_cast<uint8_t>(hi << 4 | lo);
    }
    return true;
}

}  // namespace

bool mfdbKeyParse(const std::string& text, MfdbKey* key)
{
    uint8_t b[8];
    if (!hexBytes(text, 8, b))
        return false;
    key->vlan = static_cast<uint32_t>(b[0]) << 8 | b[1];
    memcpy(key->mac, b + 2, 6);
    key->protocol = 0;
    return true;
}

bool mfdbKeyOf(const MfdbEntry& e, MfdbKey* key)
{
    if (!hexBytes(e.mac, 6, key->mac) || e.vlan < 1 || e.vlan > 4094 || e.protocol < kMfdbProtocolFirst ||
        e.protocol > kMfdbProtocolLast)
        return false;
    key->vlan = e.vlan;
    key->protocol = e.protocol;
    return true;
}

std::string mfdbKeyText(const MfdbEntry& e)
{
    MfdbKey k;
    if (!mfdbKeyOf(e, &k))
        return std::string();
    char buf[32];
    snprintf(buf, sizeof buf, "%02x:%02x:%02x:%02x:%02x:%02x:%02x:%02x", k.vlan >> 8, k.vlan & 0xff, k.mac[0],
             k.mac[1], k.mac[2], k.mac[3], k.mac[4], k.mac[5]);
    return buf;
}

int mfdbCompare(const MfdbKey& a, const MfdbKey& b, bool withProtocol)
{
    if (a.vlan != b.vlan)
        return a.vlan < b.vlan ? -1 : 1;
    int m = memcmp(a.mac, b.mac, 6);
    if (m != 0)
        return m < 0 ? -1 : 1;
    if (!withProtocol || a.protocol == b.protocol)
        return 0;
    return a.protocol < b.protocol ? -1 : 1;
}

std::vector<const MfdbEntry*> mfdbOrdered(const SwitchState& st)
{
    std::vector<std::pair<MfdbKey, const MfdbEntry*>> keyed;
    for (const MfdbEntry& e : st.mfdb.entries) {
        MfdbKey k;
        // An entry of a VLAN the switch does not have forwards nothing.
        if (mfdbKeyOf(e, &k) && st.vlans.count(e.vlan))
            keyed.push_back({k, &e});
    }
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& x, const auto& y) { return mfdbCompare(x.first, y.first) < 0; });
    std::vector<const MfdbEntry*> out;
    for (size_t i = 0; i < keyed.size(); ++i)
        if (i == 0 || mfdbCompare(keyed[i - 1].first, keyed[i].first) != 0)  // a key once
            out.push_back(keyed[i].second);
    return out;
}

std::string mfdbMaskText(const SwitchState& st, const std::vector<std::string>& names)
{
    std::string out;
    for (const auto& [num, intf] : st.interfaces)
        if (std::find(names.begin(), names.end(), intf.name) != names.end() && intf.type != kIfVlan)
            out += (out.empty() ? "" : ",") + intf.name;
    return out;
}

uint32_t mfdbCurrent(const SwitchState& st) { return static_cast<uint32_t>(mfdbOrdered(st).size()); }

uint32_t mfdbMost(const SwitchState& st) { return std::max(st.mfdb.mostEntries, mfdbCurrent(st)); }

MfdbModel defaultMfdb()
{
    MfdbModel m;
    MfdbEntry a;
    a.vlan = 1;
    a.mac = "01:00:5e:01:01:01";
    a.protocol = 1;
    a.description = "video";
    a.forward = {"1/0/1", "1/0/2"};
    MfdbEntry b = a;
    b.mac = "01:00:5e:7f:ff:fa";
    b.description = "discovery";
    b.forward = {"1/0/3"};
    b.filtering = {"1/0/4"};
    m.entries = {a, b};
    m.mostEntries = 2;
    return m;
}

using namespace schema;

namespace {

const Table<MfdbEntry> kMfdbEntryTable = {
    requiredField<&MfdbEntry::vlan>("vlan"),
    requiredField<&MfdbEntry::mac>("mac"),
    field<&MfdbEntry::protocol>("protocol"),
    field<&MfdbEntry::type>("type"),
    field<&MfdbEntry::description>("description"),
    field<&MfdbEntry::forward, List<Text>>("forward"),
    field<&MfdbEntry::filtering, List<Text>>("filtering"),
    field<&MfdbEntry::learnt, List<Text>>("learnt"),
};

}  // namespace

const Table<MfdbModel> kMfdbTable = {
    field<&MfdbModel::entries, List<Obj<MfdbEntry, kMfdbEntryTable>>>("entries"),
    field<&MfdbModel::mostEntries>("mostEntries"),
};

}  // namespace sim
