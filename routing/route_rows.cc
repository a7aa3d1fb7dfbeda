// pathgate's route table as data.
#define HF_PROGRAM pathgate
#define HF_ROUTES "routing/routes.def"
#include "runtime/rows_info.inc"
