#include "platform/module_lock.h"

std::mutex g_moduleLock;
