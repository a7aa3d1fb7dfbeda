// Text converters of request values and switch answers.
#include "runtime/text_convert.h"

#include <arpa/inet.h>

#include <cctype>
#include <cstdio>
#include <cstring>

namespace conv {

namespace {

// Digits from the start of `t`; `*end` is the count read. False on overflow.
bool digits(std::string_view t, uint32_t* out, size_t* end)
{
    uint64_t v = 0;
    size_t i = 0;
    for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) {
        v = v * 10 + static_cast<uint64_t>(t[i] - '0');
        if (v > 0xffffffffull)
            return false;
    }
    *end = i;
    *out = static_cast<uint32_t>(v);
    return true;
}

}  // namespace

bool parseU32(std::string_view t, uint32_t* out)
{
    size_t end;
    uint32_t v;
    if (!digits(t, &v, &end) || end == 0 || end != t.size())
        return false;
    *out = v;
    return true;
}

bool parseU32Prefix(std::string_view t, uint32_t* out)
{
    size_t end;
    uint32_t v;
    if (!digits(t, &v, &end) || end == 0)
        return false;
    *out = v;
    return true;
}

uint32_t decimalLoose(std::string_view t)
{
    uint32_t v = 0;
    for (size_t i = 0; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i)
        v = v * 10 + static_cast<uint32_t>(t[i] - '0');
    return v;
}

bool parseIpv4(std::string_view t, uint32_t* hostOrder)
{
    if (t.empty() || t.size() > 15)
        return false;
    char buf[16];
    memcpy(buf, t.data(), t.size());
    buf[t.size()] = '\0';
    struct in_addr a;
    if (inet_pton(AF_INET, buf, &a) != 1)
        return false;
    *hostOrder = ntohl(a.s_addr);
    return true;
}

std::string ipv4Text(uint32_t hostOrder)
{
    char buf[INET_ADDRSTRLEN];
    struct in_addr a;
    a.s_addr = htonl(hostOrder);
    inet_ntop(AF_INET, &a, buf, sizeof buf);
    return buf;
}

bool parseIpv6(std::string_view t, uint8_t out[16])
{
    if (t.empty() || t.size() >= INET6_ADDRSTRLEN)
        return false;
    char buf[INET6_ADDRSTRLEN];
    memcpy(buf, t.data(), t.size());
    buf[t.size()] = '\0';
    return inet_pton(AF_INET6, buf, out) == 1;
}

std::string ipv6Text(const uint8_t bytes[16])
{
    char buf[INET6_ADDRSTRLEN];
    inet_ntop(AF_INET6, bytes, buf, sizeof buf);
    return buf;
}

uint32_t maskLength(uint32_t mask)
{
    uint32_t n = 0;
    while (n < 32 && (mask & (0x80000000u >> n)))
        ++n;
    return n;
}

uint32_t maskOfLength(uint32_t len)
{
    return len == 0 ? 0 : len >= 32 ? 0xffffffffu : 0xffffffffu << (32 - len);
}

bool maskContiguous(uint32_t mask)
{
    return mask == maskOfLength(maskLength(mask));
}

bool parseMac(std::string_view t, uint8_t out[6])
{
    if (t.size() != 17)
        return false;
    char sep = t[2];
    if (sep != ':' && sep != '-')
        return false;
    uint8_t b[6];
    for (size_t i = 0; i < 6; ++i) {
        unsigned char hi = static_cast<unsigned char>(t[3 * i]), lo = static_cast<unsigned char>(t[3 * i + 1]);
        if (!isxdigit(hi) || !isxdigit(lo) || (i < 5 && t[3 * i + 2] != sep))
            return false;
        auto nib = [](unsigned char c) { return static_cast<uint8_t>(isdigit(c) ? c - '0' : tolower(c) - 'a' + 10); };
        b[i] = static_cast<uint8_t>(nib(hi) << 4 | nib(lo));
    }
    memcpy(out, b, 6);
    return true;
}

std::string macText(const uint8_t bytes[6])
{
    char buf[18];
    snprintf(buf, sizeof buf, "%02x:%02x:%02x:%02x:%02x:%02x", bytes[0], bytes[1], bytes[2], bytes[3], bytes[4],
             bytes[5]);
    return buf;
}

}  // namespace conv
