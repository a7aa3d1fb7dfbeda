// Binds every route of coregate to its handler class.
#define HF_ROUTES "system/routes.def"
#include "runtime/rows_bind.inc"
