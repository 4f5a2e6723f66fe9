#include "deviceinfocommands.h"
