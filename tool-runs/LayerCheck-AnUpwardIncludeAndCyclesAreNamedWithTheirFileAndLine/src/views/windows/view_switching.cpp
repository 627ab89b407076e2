#include "views/windows/view_window_table.h"
