#include "views/windows/view_switching.h"
