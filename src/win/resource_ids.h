#pragma once

// Icon resources; the first one is what Explorer shows for the program.
#define IDI_LOCKED 101
#define IDI_UNLOCKED 102
#define IDI_OPEN 103
#define IDI_INFO 104
#define IDI_EXIT 105
#define IDI_KEY 106
