#pragma once

namespace marnoq {

// Keeps the process's memory, where passwords and keys live, to the process: no core dump
// can be written, and other processes of the same user can no longer read /proc/PID/mem or
// /proc/PID/environ. Called first thing by both programs.
void protectProcess();

}  // namespace marnoq
