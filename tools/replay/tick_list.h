// The ticks whose frames the replay writes: a comma-separated list of tick numbers.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Parses "1,40,41" into sorted, distinct tick numbers from 1 on; false, with `error`
// set, for an empty list, an empty item or anything but a whole positive number.
bool ParseTickList(std::string_view text, std::vector<long>& ticks, std::string& error);
