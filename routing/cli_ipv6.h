// Classes of the CLI-backed IPv6, router advertisement and IP helper routes.
#pragma once

#include "routing/route_classes.h"
