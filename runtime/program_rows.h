// What each program's route library offers besides its exported handlers:
// the registrar its main hands to programMain, and its rows as data for the
// route table test and the benchmarks. The program's name is the namespace.
#pragma once

#include <cstddef>

#include "runtime/handler_family.h"
#include "runtime/route_tree.h"

#define HF_PROGRAM_ROWS(program)                                                        \
    namespace program {                                                                 \
    /** Registers every route, one httpdAddCContent call each in table order. */       \
    void registerRoutes(RouteTree* tree);                                               \
    /** Every row of the table, in table order. */                                      \
    extern const hf::RowInfo kRows[];                                                   \
    extern const size_t kRowCount;                                                      \
    }
