// Entry of coregate.
#include "system/handlers.h"
#include "runtime/entry.h"

int main()
{
    return programMain("coregate.cgi", coregate::registerRoutes);
}
