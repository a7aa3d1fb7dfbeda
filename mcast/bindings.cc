// Binds every route of swarmgate to its handler class.
#define HF_ROUTES "mcast/routes.def"
#include "runtime/rows_bind.inc"
