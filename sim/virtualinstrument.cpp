#include "virtualinstrument.h"
