#include "colour.h"
