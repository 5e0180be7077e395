#pragma once

#include <string>

namespace marnoq::window_model {

// The info window's explanation (UTF-8, lines ending in CR LF) and its version label.
std::string infoExplanationText();
std::string versionText(int major, int minor);
std::string versionText();  // of this release

}  // namespace marnoq::window_model
