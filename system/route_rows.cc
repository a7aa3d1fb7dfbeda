// coregate's route table as data.
#define HF_PROGRAM coregate
#define HF_ROUTES "system/routes.def"
#include "runtime/rows_info.inc"
