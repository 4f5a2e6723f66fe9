#include "frames.h"
