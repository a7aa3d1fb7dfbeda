// Exported handlers of swarmgate, one per route of its table, and its route list.
#pragma once

#include "runtime/program_rows.h"

#define HF_ROUTES "mcast/routes.def"
#include "runtime/rows_declare.inc"
#undef HF_ROUTES

HF_PROGRAM_ROWS(swarmgate)
