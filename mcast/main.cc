// Entry of swarmgate.
#include "mcast/handlers.h"
#include "runtime/entry.h"

int main()
{
    return programMain("swarmgate.cgi", swarmgate::registerRoutes);
}
