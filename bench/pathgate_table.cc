// pathgate's route table, taken from routing/main.cc itself: its main becomes
// pathgateMain and the call it makes hands the table to benchRouteTable
// (defined by the micro benchmarks) instead of running a request.
#define main pathgateMain
#define programMain benchRouteTable
#include "routing/main.cc"
