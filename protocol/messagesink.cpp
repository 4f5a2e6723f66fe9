#include "messagesink.h"
