#pragma once

#include <functional>
#include <string>
#include <vector>

namespace marnoq::window_model {

// A list's horizontal scrolling extent: the longest entry (by characters; the first of equal
// length) followed by 25 blanks, measured by the front end in the font the list shows, so the
// end of every path can be scrolled into view with room to spare.
int horizontalExtent(const std::vector<std::string>& entries,
                     const std::function<int(const std::string&)>& textWidth);

}  // namespace marnoq::window_model
