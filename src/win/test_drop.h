#pragma once

#include <windows.h>

#include <shellapi.h>

#include <cstdint>
#include <string>
#include <vector>

namespace marnoq::win {

// Another process cannot hand over a drop; a second start (hand_over.cpp) and the window test
// send the paths as WM_COPYDATA
// (UTF-16, each ended by L'\0', the list by another) with one of these tags, and the window
// drops them onto the list as the shell would.
inline constexpr ULONG_PTR kTestDropEncrypt = 0x4D41'0001;
inline constexpr ULONG_PTR kTestDropDecrypt = 0x4D41'0002;

// Sends the paths to the window's list; true when the window took them.
bool sendDrop(HWND window, ULONG_PTR list, const std::vector<std::string>& paths);

// A drop handle as the shell makes it, for files at a point of the window's client area;
// null when the paths are malformed. WM_DROPFILES' DragFinish frees it.
HDROP dropHandle(const void* paths, DWORD bytes, POINT at);

}  // namespace marnoq::win
