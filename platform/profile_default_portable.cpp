// Outside Windows the module reads and writes its settings with our own implementation.
#include "platform/profile.h"

ProfileStore& DefaultProfileStore() { return PortableProfileStore(); }
