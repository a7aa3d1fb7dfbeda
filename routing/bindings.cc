// Binds every route of pathgate to its handler class. Rows name the
// enumerations and records of the handler family and of pathgate's routing
// records unqualified.
#include "access/cli_views.h"
#include "routing/cli_ipv4.h"
#include "routing/cli_ipv6.h"
#include "routing/route_records.h"
#include "runtime/handler_family.h"

using namespace hf;
using namespace pathgate;

#define HF_ROUTES "routing/routes.def"
#include "runtime/rows_bind.inc"
