// Preprocessor helpers that turn a catalog row's argument types into a
// parameter list (t1 a1, t2 a2, ...) and an argument list (a1, a2, ...).
#pragma once

#define OCL_CAT_(a, b) a##b
#define OCL_CAT(a, b) OCL_CAT_(a, b)
#define OCL_NARGS_(_1, _2, _3, _4, _5, _6, _7, _8, _9, _10, _11, _12, N, ...) N
#define OCL_NARGS(...) OCL_NARGS_(__VA_ARGS__, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0)

#define OCL_P1(t1) t1 a1
#define OCL_P2(t1, t2) t1 a1, t2 a2
#define OCL_P3(t1, t2, t3) OCL_P2(t1, t2), t3 a3
#define OCL_P4(t1, t2, t3, t4) OCL_P3(t1, t2, t3), t4 a4
#define OCL_P5(t1, t2, t3, t4, t5) OCL_P4(t1, t2, t3, t4), t5 a5
#define OCL_P6(t1, t2, t3, t4, t5, t6) OCL_P5(t1, t2, t3, t4, t5), t6 a6
#define OCL_P7(t1, t2, t3, t4, t5, t6, t7) OCL_P6(t1, t2, t3, t4, t5, t6), t7 a7
#define OCL_P8(t1, t2, t3, t4, t5, t6, t7, t8) OCL_P7(t1, t2, t3, t4, t5, t6, t7), t8 a8
#define OCL_P9(t1, t2, t3, t4, t5, t6, t7, t8, t9) OCL_P8(t1, t2, t3, t4, t5, t6, t7, t8), t9 a9
#define OCL_P10(t1, t2, t3, t4, t5, t6, t7, t8, t9, t10) OCL_P9(t1, t2, t3, t4, t5, t6, t7, t8, t9), t10 a10
#define OCL_P11(t1, t2, t3, t4, t5, t6, t7, t8, t9, t10, t11) \
    OCL_P10(t1, t2, t3, t4, t5, t6, t7, t8, t9, t10), t11 a11
#define OCL_P12(t1, t2, t3, t4, t5, t6, t7, t8, t9, t10, t11, t12) \
    OCL_P11(t1, t2, t3, t4, t5, t6, t7, t8, t9, t10, t11), t12 a12

#define OCL_N1 a1
#define OCL_N2 a1, a2
#define OCL_N3 OCL_N2, a3
#define OCL_N4 OCL_N3, a4
#define OCL_N5 OCL_N4, a5
#define OCL_N6 OCL_N5, a6
#define OCL_N7 OCL_N6, a7
#define OCL_N8 OCL_N7, a8
#define OCL_N9 OCL_N8, a9
#define OCL_N10 OCL_N9, a10
#define OCL_N11 OCL_N10, a11
#define OCL_N12 OCL_N11, a12

#define OCL_PARAMS(...) OCL_CAT(OCL_P, OCL_NARGS(__VA_ARGS__))(__VA_ARGS__)
#define OCL_NAMES(...) OCL_CAT(OCL_N, OCL_NARGS(__VA_ARGS__))
