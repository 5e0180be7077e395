#pragma once

#include <string>

namespace marnoq::jobs {

// value rounded to `decimals` places, ties to even on the decimal value as written, with a
// decimal comma, no thousands separator and no trailing zeros: German, whatever the locale.
std::string germanDecimal(double value, int decimals);

// " , EncryptTime: " or " , DecryptTime: " style suffix: up to 1000 ms in milliseconds with two
// decimals, above in seconds with three.
std::string jobTimeText(const std::string& label, double milliseconds);

// The percentage as "###": rounded half away from zero, no digits at all for 0.
std::string percentDigits(float percent);

}  // namespace marnoq::jobs
