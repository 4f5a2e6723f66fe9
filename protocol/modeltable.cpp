#include "modeltable.h"
