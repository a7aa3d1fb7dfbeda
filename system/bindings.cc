// Binds every route of coregate to its handler class. Rows name the
// enumerations and records of the handler family and of coregate's own
// records unqualified.
#include "access/cli_logging.h"
#include "access/cli_views.h"
#include "runtime/handler_family.h"
#include "system/system_rows.h"
#include "system/tcam_policy.h"
#include "system/mgmt_records.h"
#include "system/logging_views.h"

using namespace hf;
using namespace coregate;

#define HF_ROUTES "system/routes.def"
#include "runtime/rows_bind.inc"
