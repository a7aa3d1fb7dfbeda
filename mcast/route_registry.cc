// Registration of swarmgate's routes.
#define HF_PROGRAM swarmgate
#define HF_ROUTES "mcast/routes.def"
#include "runtime/rows_register.inc"
