// Registration of pathgate's routes.
#define HF_PROGRAM pathgate
#define HF_ROUTES "routing/routes.def"
#include "runtime/rows_register.inc"
