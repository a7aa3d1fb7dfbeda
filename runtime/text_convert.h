// Text converters of request values and switch answers: whole numbers,
// IPv4 and IPv6 addresses, IPv4 masks and MAC addresses. Every class, reader
// and parser of the three programs converts through these, so a value is
// accepted or refused by the same rules wherever it arrives.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace conv {

/// Decimal digits, all of `t`: false when empty, when another character
/// follows or when the value passes 4294967295.
bool parseU32(std::string_view t, uint32_t* out);
/// Decimal digits up to the first non-digit: false without a digit or when
/// the value passes 4294967295.
bool parseU32Prefix(std::string_view t, uint32_t* out);
/// Decimal digits up to the first non-digit, as show output prints counters:
/// 0 without a digit; a value past 32 bits keeps its low 32 bits.
uint32_t decimalLoose(std::string_view t);

/// Dotted IPv4 text to a host-order word. A text longer than 15 characters
/// is refused rather than cut, which could turn it into another address.
bool parseIpv4(std::string_view t, uint32_t* hostOrder);
/// "a.b.c.d" of a host-order word.
std::string ipv4Text(uint32_t hostOrder);
/// IPv6 text to 16 network-order bytes.
bool parseIpv6(std::string_view t, uint8_t out[16]);
/// Compressed IPv6 text of 16 network-order bytes.
std::string ipv6Text(const uint8_t bytes[16]);

/// Number of leading one bits of a host-order mask.
uint32_t maskLength(uint32_t mask);
/// Host-order mask of `len` leading ones (32 and more: all ones).
uint32_t maskOfLength(uint32_t len);
/// Whether the host-order mask is ones followed by zeros only.
bool maskContiguous(uint32_t mask);

/// "aa:bb:cc:dd:ee:ff" or "aa-bb-cc-dd-ee-ff" (hex digits of either case, one
/// separator throughout) to six bytes.
bool parseMac(std::string_view t, uint8_t out[6]);
/// Lower-case "aa:bb:cc:dd:ee:ff".
std::string macText(const uint8_t bytes[6]);

}  // namespace conv
