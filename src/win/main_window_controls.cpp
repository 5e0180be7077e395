#include "win/main_window_controls.h"

#include <algorithm>
#include <array>
#include <utility>

#include "win/resource_ids.h"

namespace marnoq::win {
namespace {

constexpr std::pair<std::string_view, ControlId> kIds[] = {
    {"Label1", Label1},        {"Label2", Label2},       {"Label3", Label3},
    {"Label4(0)", Label4_0},   {"Label4(1)", Label4_1},  {"Label4(2)", Label4_2},
    {"Label5", Label5},        {"Label6", Label6},       {"List1", List1},
    {"List2", List2},          {"Text3(0)", Text3_0},    {"Text3(1)", Text3_1},
    {"Text3(2)", Text3_2},     {"txtSuffix", txtSuffix}, {"cmdEnc", cmdEnc},
    {"cmdDec", cmdDec},        {"Command1", Command1},   {"Command2", Command2},
    {"Command3", Command3},    {"Command4", Command4},   {"Command5", Command5},
    {"Command6", Command6},    {"Befehl2", Befehl2},     {"Option1(0)", Option1_0},
    {"Option1(1)", Option1_1}, {"dummy", dummy},         {"Image1(0)", Image1_0},
    {"Image1(1)", Image1_1},   {"Picture1", Picture1},   {"Picture2", Picture2},
};

constexpr std::pair<std::string_view, int> kIcons[] = {
    {"Befehl2", IDI_OPEN},    {"Command3", IDI_OPEN},     {"Command4", IDI_INFO},
    {"Command1", IDI_EXIT},   {"Image1(0)", IDI_KEY},     {"Image1(1)", IDI_KEY},
    {"Picture1", IDI_LOCKED}, {"Picture2", IDI_UNLOCKED},
};

template <typename Value, std::size_t N>
Value lookUp(const std::pair<std::string_view, Value> (&table)[N], std::string_view name,
             Value otherwise) {
    const auto found = std::find_if(std::begin(table), std::end(table),
                                    [name](const auto& entry) { return entry.first == name; });
    return found == std::end(table) ? otherwise : found->second;
}

}  // namespace

ControlId controlId(std::string_view name) {
    return lookUp(kIds, name, NoWindow);
}

int iconOf(std::string_view name) {
    return lookUp(kIcons, name, 0);
}

}  // namespace marnoq::win
