// The work-file groups of pathgate's IPv6, router advertisement and IP helper
// routes: the word in their work file names and the most of a show output
// they read.
#pragma once

#include <cstddef>

namespace clitext {

struct Group {
    const char* word;
    size_t cap;
};
extern const Group kIpv6;    // "ip6m", 131072 bytes
extern const Group kRadv;    // "ipra", 65536 bytes
extern const Group kHelper;  // "iph", 65536 bytes

}  // namespace clitext
