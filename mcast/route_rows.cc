// swarmgate's route table as data.
#define HF_PROGRAM swarmgate
#define HF_ROUTES "mcast/routes.def"
#include "runtime/rows_info.inc"
