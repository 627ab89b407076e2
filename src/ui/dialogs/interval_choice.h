// The five sample intervals a user can choose, as the settings dialog (for
// the replay buffer) and the record dialog list them.
#pragma once

#include <cstdint>

constexpr int IntervalItemCount = 5;
// "1/8 sec" ... "2 sec", in list order.
extern const char* const IntervalItemTexts[IntervalItemCount];

// Milliseconds of an item; 0 for anything but 0..4.
uint32_t IntervalOfItem(int item);
// The item showing these milliseconds; 1/2 s (the replay buffer's default)
// for a value the list does not have.
int ItemOfInterval(int32_t milliseconds);
