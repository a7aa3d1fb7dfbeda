// Entry of pathgate.
#include "routing/handlers.h"
#include "runtime/entry.h"

int main()
{
    return programMain("pathgate.cgi", pathgate::registerRoutes);
}
