#include "measurementcommands.h"
