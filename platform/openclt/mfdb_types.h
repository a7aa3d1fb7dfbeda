// The key of a multicast forwarding database entry as the switch's MFDB
// operations take and answer it: the VLAN (two bytes) and the MAC address
// (six bytes) as eight colon-separated hexadecimal bytes,
// "00:0a:01:00:5e:01:01:01", in a fixed 24-byte record (at most 23
// characters and the NUL). Fixed width, no padding: it crosses the wire as
// its bytes.
#pragma once

#include <stddef.h>

/// Bytes of an MFDB key record; its text holds at most one less.
#define MFDB_VIDMAC_SIZE 24

struct MfdbVidMac {
    char text[MFDB_VIDMAC_SIZE];
};

static_assert(sizeof(MfdbVidMac) == MFDB_VIDMAC_SIZE, "MFDB key layout");
