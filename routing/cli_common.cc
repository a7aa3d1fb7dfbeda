// Work-file groups of the CLI-backed IPv6, router advertisement and IP helper routes.
#include "routing/cli_common.h"

namespace clitext {

const Group kIpv6 = {"ip6m", 131072};
const Group kRadv = {"ipra", 65536};
const Group kHelper = {"iph", 65536};

}  // namespace clitext
