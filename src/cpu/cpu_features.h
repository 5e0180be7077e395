#pragma once

namespace marnoq::cpu {

struct Features {
    bool aes = false;
    bool pclmul = false;
    bool avx2 = false;
    bool vaes = false;
    bool vpclmul = false;
    bool avx512 = false;
};

// What this processor offers, probed once. MARNOQ_PORTABLE=1 in the environment hides
// every feature, so the table-driven code runs everywhere.
const Features& features();

}  // namespace marnoq::cpu
