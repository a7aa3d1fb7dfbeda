// Registration of coregate's routes.
#define HF_PROGRAM coregate
#define HF_ROUTES "system/routes.def"
#include "runtime/rows_register.inc"
