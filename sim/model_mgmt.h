// The switch's own identity and management access: host name and prompt,
// terminal length per access line, serial time-out, telnet server, the
// network port (its IPv4 settings are the management interface of the CLI,
// SystemConfig) and the service port with the IPv6 settings of both, and
// what a configuration reset restores.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "sim/state_schema.h"

namespace sim {

struct SwitchState;

/// Access lines of the terminal length: console, telnet, SSH.
constexpr uint32_t kAccessLines = 3;
constexpr uint32_t kTermLengthDefault = 24;
constexpr uint32_t kSerialTimeoutDefault = 5;  // minutes; 0: never
constexpr uint32_t kSerialTimeoutMax = 160;
/// Longest host name and prompt, and the buffers the switch reports for them
/// (the text and its NUL).
constexpr uint32_t kHostNameMax = 63;
constexpr uint32_t kPromptMax = 64;
constexpr uint32_t kSystemNameMax = 255;
/// Static IPv6 prefixes a management port holds.
constexpr size_t kPortPrefixMax = 8;

/// Protocol modes of the management ports: none (static), BOOTP, DHCP.
enum : uint32_t { kProtoNone = 0, kProtoBootp = 1, kProtoDhcp = 2 };

/// The IPv6 side of a management port.
struct Ipv6Port {
    uint32_t adminMode = 1;
    uint32_t autoConfig = 0;
    uint32_t protoMode = kProtoNone;          // none or DHCPv6
    std::string gateway = std::string(16, '\0');
    std::vector<std::string> prefixes;        // 16 address bytes and the length byte, ascending
};

/// The service port's IPv4 side (host-order words).
struct ServicePort {
    uint32_t protoMode = kProtoDhcp;
    uint32_t addr = 0, mask = 0, gateway = 0;
};

struct MgmtModel {
    std::string hostName = "KX810-A";
    std::string prompt = "KX810-A";
    std::map<uint32_t, uint32_t> termLength = {
        {0, kTermLengthDefault}, {1, kTermLengthDefault}, {2, kTermLengthDefault}};
    uint32_t serialTimeout = kSerialTimeoutDefault;
    uint32_t telnetMode = 1;
    uint32_t tzOffsetMin = 0;  // minutes east of UTC, as a signed word
    Ipv6Port networkV6, serviceV6;
    ServicePort service;
};

/// MAC addresses of the switch (burned in; the system answers with it) and
/// of the service port, as six bytes.
std::string systemMac();
std::string servicePortMac();

/// A host name: 1 to 63 letters, digits and hyphens, no hyphen at either end.
bool validHostName(const std::string& name);
/// A prompt: 1 to 64 printable characters.
bool validPrompt(const std::string& prompt);

/// Whether `addr`/`mask` may be a management port's IPv4 address: a unicast
/// host, a contiguous mask, not the subnet's network or broadcast address;
/// and `gateway` its gateway (0: none; else a unicast host in the subnet).
bool mgmtIpv4Fits(uint32_t addr, uint32_t mask, uint32_t gateway);

/// Adds (or gives a new length to) a static IPv6 address of a port: a global
/// unicast address (not unspecified, loopback, link-local or multicast),
/// length 1 to 128, at most kPortPrefixMax of them. False when refused.
bool portPrefixAdd(Ipv6Port& p, const uint8_t* addr, uint32_t len);
/// Whether an IPv6 gateway may be set: unset (all zero) or unicast.
bool portGatewayFits(const uint8_t* addr);
/// The port's next IPv6 address after `after` (all zero: from the first): its
/// link-local address (from `mac`) while IPv6 is on, and its static ones, in
/// address order. False at the end.
bool portAddrNext(const Ipv6Port& p, const std::string& mac, const uint8_t* after, uint8_t* next);

/// Restores the configuration of the default switch in every area (as a
/// fresh simulator has it); the saved startup configuration stays.
void resetConfigurationToDefault(SwitchState& st);

/// Milliseconds since the simulated switch started.
uint64_t upTimeMsec();

/// The records of this area in the state file.
extern const schema::Table<Ipv6Port> kIpv6PortTable;
extern const schema::Table<ServicePort> kServicePortTable;
extern const schema::Table<MgmtModel> kMgmtTable;

}  // namespace sim
