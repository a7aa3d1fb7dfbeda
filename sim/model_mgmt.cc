// Identity and management access of the simulated switch.
#include "sim/model_mgmt.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstring>
#include <string>
#include <utility>

#include "sim/addr.h"
#include "sim/state.h"

namespace sim {

namespace {

const auto kStart = std::chrono::steady_clock::now();

bool allZero(const uint8_t* a, size_t n)
{
    for (size_t i = 0; i < n; ++i)
        if (a[i])
            return false;
    return true;
}

bool isLoopback6(const uint8_t* a) { return allZero(a, 15) && a[15] == 1; }
bool isMulticast6(const uint8_t* a) { return a[0] == 0xff; }
bool isLinkLocal6(const uint8_t* a) { return a[0] == 0xfe && (a[1] & 0xc0) == 0x80; }

// fe80::/64 with the interface identifier of a MAC address (EUI-64).
std::string linkLocal(const std::string& mac)
{
    std::string a(16, '\0');
    a[0] = static_cast<char>(0xfe);
    a[1] = static_cast<char>(0x80);
    a[8] = static_cast<char>(mac[0] ^ 0x02);
    a[9] = mac[1];
    a[10] = mac[2];
    a[11] = static_cast<char>(0xff);
    a[12] = static_cast<char>(0xfe);
    a[13] = mac[3];
    a[14] = mac[4];
    a[15] = mac[5];
    return a;
}

}  // namespace

std::string systemMac() { return std::string("\x00\x1e\xc9\x00\x00\x01", 6); }
std::string servicePortMac() { return std::string("\x00\x1e\xc9\x00\x00\x02", 6); }

bool validHostName(const std::string& n)
{
    if (n.empty() || n.size() > kHostNameMax || n.front() == '-' || n.back() == '-')
        return false;
    for (unsigned char ch : n)
        if (!isalnum(ch) && ch != '-')
            return false;
    return true;
}

bool validPrompt(const std::string& p)
{
    if (p.empty() || p.size() > kPromptMax)
        return false;
    for (unsigned char ch : p)
        if (ch < 0x20 || ch > 0x7e)
            return false;
    return true;
}

bool mgmtIpv4Fits(uint32_t addr, uint32_t mask, uint32_t gateway)
{
    uint32_t len = maskLen(mask);
    if (!unicastHostV4(addr) || len == 0 || maskOf(len) != mask)
        return false;
    // The network and broadcast addresses of the subnet are no host's.
    if (len < 31 && ((addr & ~mask) == 0 || (addr & ~mask) == ~mask))
        return false;
    if (gateway == 0)
        return true;
    return unicastHostV4(gateway) && gateway != addr && (gateway & mask) == (addr & mask);
}

bool portPrefixAdd(Ipv6Port& p, const uint8_t* addr, uint32_t len)
{
    if (len == 0 || len > 128 || allZero(addr, 16) || isLoopback6(addr) || isMulticast6(addr) ||
        isLinkLocal6(addr))
        return false;
    std::string a(reinterpret_cast<const char*>(addr), 16);
    for (std::string& e : p.prefixes)
        if (e.size() == 17 && e.compare(0, 16, a) == 0) {
            e[16] = static_cast<char>(len);
            return true;
        }
    if (p.prefixes.size() >= kPortPrefixMax)
        return false;
    p.prefixes.push_back(a + std::string(1, static_cast<char>(len)));
    std::sort(p.prefixes.begin(), p.prefixes.end());
    return true;
}

bool portGatewayFits(const uint8_t* a) { return allZero(a, 16) || (!isLoopback6(a) && !isMulticast6(a)); }

bool portAddrNext(const Ipv6Port& p, const std::string& mac, const uint8_t* after, uint8_t* next)
{
    std::vector<std::string> addrs;
    if (p.adminMode == 1)
        addrs.push_back(linkLocal(mac));
    for (const std::string& e : p.prefixes)
        if (e.size() == 17)  // a state file's record of another size is no address
            addrs.push_back(e.substr(0, 16));
    std::sort(addrs.begin(), addrs.end(), [](const std::string& x, const std::string& y) {
        return memcmp(x.data(), y.data(), 16) < 0;
    });
    for (const std::string& a : addrs)
        if (memcmp(a.data(), after, 16) > 0) {
            memcpy(next, a.data(), 16);
            return true;
        }
    return false;
}

void resetConfigurationToDefault(SwitchState& st)
{
    std::string saved = std::move(st.sysModel.startupConfig);
    st = defaultSwitch();
    st.sysModel.startupConfig = std::move(saved);
}

uint64_t upTimeMsec()
{
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - kStart).count());
}

using namespace schema;

const Table<Ipv6Port> kIpv6PortTable = {
    field<&Ipv6Port::adminMode>("adminMode"),
    field<&Ipv6Port::autoConfig>("autoConfig"),
    field<&Ipv6Port::protoMode>("protoMode"),
    field<&Ipv6Port::gateway, Hex>("gateway"),
    field<&Ipv6Port::prefixes, List<Hex>>("prefixes"),
};

const Table<ServicePort> kServicePortTable = {
    field<&ServicePort::protoMode>("protoMode"),
    field<&ServicePort::addr>("addr"),
    field<&ServicePort::mask>("mask"),
    field<&ServicePort::gateway>("gateway"),
};

const Table<MgmtModel> kMgmtTable = {
    field<&MgmtModel::hostName>("hostName"),
    field<&MgmtModel::prompt>("prompt"),
    field<&MgmtModel::termLength>("termLength"),
    field<&MgmtModel::serialTimeout>("serialTimeout"),
    field<&MgmtModel::telnetMode>("telnetMode"),
    field<&MgmtModel::tzOffsetMin>("tzOffsetMin"),
    field<&MgmtModel::networkV6, Obj<Ipv6Port, kIpv6PortTable>>("networkV6"),
    field<&MgmtModel::serviceV6, Obj<Ipv6Port, kIpv6PortTable>>("serviceV6"),
    field<&MgmtModel::service, Obj<ServicePort, kServicePortTable>>("service"),
};

}  // namespace sim
