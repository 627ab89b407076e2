// The one Session of the module.
#include "engine/session/session.h"

Session session;
