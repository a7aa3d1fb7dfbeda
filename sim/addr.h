// Address arithmetic the simulated switch's areas share. Addresses are in
// record form: an IPv4 address is the first word of 16 bytes, host order.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

#include "platform/openclt/routing_types.h"

namespace sim {

inline uint32_t v4Of(const uint8_t* addr)
{
    uint32_t v;
    memcpy(&v, addr, 4);
    return v;
}

inline uint32_t v4Of(const std::string& addr) { return v4Of(reinterpret_cast<const uint8_t*>(addr.data())); }

/// The netmask of a prefix length, and back (the leading ones of a mask).
inline uint32_t maskOf(uint32_t len) { return len == 0 ? 0 : len >= 32 ? 0xffffffffu : 0xffffffffu << (32 - len); }
inline uint32_t maskLen(uint32_t mask)
{
    uint32_t n = 0;
    while (n < 32 && (mask & (0x80000000u >> n)))
        ++n;
    return n;
}

inline bool validFamily(uint32_t f) { return f == kFamilyIpv4 || f == kFamilyIpv6; }
inline uint32_t maxLen(uint32_t family) { return family == kFamilyIpv6 ? 128 : 32; }

/// Clears the host bits of a prefix in record form.
inline void maskPrefix(uint32_t family, uint8_t* addr, uint32_t len)
{
    if (family == kFamilyIpv4) {
        uint32_t v = v4Of(addr) & maskOf(len);
        memcpy(addr, &v, 4);
        memset(addr + 4, 0, 12);
        return;
    }
    for (uint32_t i = 0; i < 16; ++i) {
        uint32_t bits = len > i * 8 ? (len - i * 8 < 8 ? len - i * 8 : 8) : 0;
        addr[i] &= static_cast<uint8_t>(bits == 0 ? 0 : 0xff << (8 - bits));
    }
}

/// A unicast host address a switch can forward to: not 0/8, loopback
/// (127/8) or multicast and reserved (224/3).
inline bool unicastHostV4(uint32_t a)
{
    uint32_t first = a >> 24;
    return first != 0 && first != 127 && first < 224;
}

}  // namespace sim
