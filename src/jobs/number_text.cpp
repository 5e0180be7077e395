#include "jobs/number_text.h"

#include <charconv>
#include <cmath>

namespace marnoq::jobs {
namespace {

// Adds one unit in the last place of a string of decimal digits.
void incrementDigits(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

}  // namespace

std::string germanDecimal(double value, int decimals) {
    char buffer[400];
    // The shortest text that reads back as the same double: the value the user would see.
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                      std::chars_format::fixed);
    std::string text(buffer, error == std::errc() ? end : buffer);
    const auto point = text.find('.');
    std::string whole = text.substr(0, point);
    std::string fraction = point == std::string::npos ? "" : text.substr(point + 1);

    if (fraction.size() > static_cast<std::size_t>(decimals)) {
        const char first = fraction[static_cast<std::size_t>(decimals)];
        const bool beyond = fraction.find_first_not_of('0', static_cast<std::size_t>(decimals) + 1) !=
                            std::string::npos;
        std::string kept = whole + fraction.substr(0, static_cast<std::size_t>(decimals));
        const bool odd = (kept.back() - '0') % 2 == 1;
        if (first > '5' || (first == '5' && (beyond || odd))) {
            incrementDigits(kept);
        }
        whole = kept.substr(0, kept.size() - static_cast<std::size_t>(decimals));
        fraction = kept.substr(kept.size() - static_cast<std::size_t>(decimals));
    }
    while (!fraction.empty() && fraction.back() == '0') {
        fraction.pop_back();
    }
    const bool negative = std::signbit(value) && (whole != "0" || !fraction.empty());
    return (negative ? "-" : "") + whole + (fraction.empty() ? "" : "," + fraction);
}

std::string jobTimeText(const std::string& label, double milliseconds) {
    if (milliseconds <= 1000.0) {
        return label + germanDecimal(milliseconds, 2) + " ms";
    }
    return label + germanDecimal(milliseconds / 1000.0, 3) + " s";
}

std::string percentDigits(float percent) {
    const double rounded = std::round(static_cast<double>(percent));
    if (rounded == 0.0) {
        return {};
    }
    return std::to_string(static_cast<long long>(rounded));
}

}  // namespace marnoq::jobs
