// Classes of the CLI-backed route table, IP interface, ARP and statistics routes.
#pragma once

#include "routing/route_classes.h"
