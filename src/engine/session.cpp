// The one Session of the module.
#include "engine/session.h"

Session session;
