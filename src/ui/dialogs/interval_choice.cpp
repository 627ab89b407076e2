// The interval lists of the settings and record dialogs.
#include "ui/dialogs/interval_choice.h"

const char* const IntervalItemTexts[IntervalItemCount] = {"1/8 sec", "1/4 sec", "1/2 sec", "1 sec", "2 sec"};

static const uint32_t IntervalMilliseconds[IntervalItemCount] = {125, 250, 500, 1000, 2000};

uint32_t IntervalOfItem(int item) { return item >= 0 && item < IntervalItemCount ? IntervalMilliseconds[item] : 0; }

int ItemOfInterval(int32_t milliseconds) {
    for (int item = 0; item < IntervalItemCount; ++item)
        if (static_cast<int64_t>(IntervalMilliseconds[item]) == milliseconds) return item;
    return 2;
}
