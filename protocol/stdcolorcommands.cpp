#include "stdcolorcommands.h"
