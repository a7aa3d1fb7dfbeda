// Binds every route of swarmgate to its handler class.
#include "access/cli_mcast.h"
#include "access/cli_mroute.h"
#include "access/cli_snoop.h"
#include "mcast/detect.h"
#include "mcast/mcast_rows.h"
#include "mcast/snoop_groups.h"

#define HF_ROUTES "mcast/routes.def"
#include "runtime/rows_bind.inc"
