#pragma once

#include <cstdint>

// The message vocabulary every window of the system speaks. The numbers are those the rest of
// the system (posted messages 1029, 1035, 1040-1042, timers, control notifications) is written
// against, so they stay as they are.
namespace tarnix {

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

// Messages.
inline constexpr unsigned WM_CREATE = 0x0001;
inline constexpr unsigned WM_DESTROY = 0x0002;
inline constexpr unsigned WM_SIZE = 0x0005;
inline constexpr unsigned WM_PAINT = 0x000F;
inline constexpr unsigned WM_CLOSE = 0x0010;
inline constexpr unsigned WM_KEYDOWN = 0x0100;
inline constexpr unsigned WM_KEYUP = 0x0101;
inline constexpr unsigned WM_CHAR = 0x0102;
inline constexpr unsigned WM_INITDIALOG = 0x0110;
inline constexpr unsigned WM_COMMAND = 0x0111;
inline constexpr unsigned WM_TIMER = 0x0113;
inline constexpr unsigned WM_HSCROLL = 0x0114;
inline constexpr unsigned WM_VSCROLL = 0x0115;
inline constexpr unsigned WM_MOUSEMOVE = 0x0200;
inline constexpr unsigned WM_LBUTTONDOWN = 0x0201;
inline constexpr unsigned WM_LBUTTONUP = 0x0202;
inline constexpr unsigned WM_LBUTTONDBLCLK = 0x0203;
inline constexpr unsigned WM_RBUTTONDOWN = 0x0204;
inline constexpr unsigned WM_RBUTTONUP = 0x0205;
inline constexpr unsigned WM_RBUTTONDBLCLK = 0x0206;
inline constexpr unsigned WM_MBUTTONDOWN = 0x0207;
inline constexpr unsigned WM_MBUTTONUP = 0x0208;
inline constexpr unsigned WM_MBUTTONDBLCLK = 0x0209;
inline constexpr unsigned WM_USER = 0x0400;
// Posted to the framework window the mouse has moved away from.
inline constexpr unsigned MSG_MOUSE_LEFT = WM_USER + 11;

// Size types of WM_SIZE.
inline constexpr int SIZE_RESTORED = 0;
inline constexpr int SIZE_MINIMIZED = 1;
inline constexpr int SIZE_MAXIMIZED = 2;

// Key flags of mouse messages.
inline constexpr unsigned MK_LBUTTON = 0x0001;
inline constexpr unsigned MK_RBUTTON = 0x0002;
inline constexpr unsigned MK_SHIFT = 0x0004;
inline constexpr unsigned MK_CONTROL = 0x0008;
inline constexpr unsigned MK_MBUTTON = 0x0010;

// Scroll codes of WM_HSCROLL and WM_VSCROLL (a slider sends the same values).
inline constexpr int SB_LINEUP = 0;
inline constexpr int SB_LINEDOWN = 1;
inline constexpr int SB_PAGEUP = 2;
inline constexpr int SB_PAGEDOWN = 3;
inline constexpr int SB_THUMBPOSITION = 4;
inline constexpr int SB_THUMBTRACK = 5;
inline constexpr int SB_TOP = 6;
inline constexpr int SB_BOTTOM = 7;
inline constexpr int SB_ENDSCROLL = 8;

// Notification code of a clicked button in WM_COMMAND, and the dialog commands.
inline constexpr int BN_CLICKED = 0;
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

// Window styles.
inline constexpr unsigned WS_POPUP = 0x80000000u;
inline constexpr unsigned WS_CHILD = 0x40000000u;
inline constexpr unsigned WS_VISIBLE = 0x10000000u;
inline constexpr unsigned WS_CAPTION = 0x00C00000u;
inline constexpr unsigned WS_TABSTOP = 0x00010000u;
inline constexpr unsigned WS_OVERLAPPEDWINDOW = 0x00CF0000u;
inline constexpr unsigned WS_EX_TOPMOST = 0x00000008u;
inline constexpr unsigned WS_EX_TOOLWINDOW = 0x00000080u;

// Class styles.
inline constexpr unsigned CS_VREDRAW = 0x0001;
inline constexpr unsigned CS_HREDRAW = 0x0002;
inline constexpr unsigned CS_DBLCLKS = 0x0008;

constexpr unsigned LOWORD(std::uintptr_t v)
{
    return static_cast<unsigned>(v & 0xFFFF);
}
constexpr unsigned HIWORD(std::uintptr_t v)
{
    return static_cast<unsigned>((v >> 16) & 0xFFFF);
}
constexpr int GET_X_LPARAM(LPARAM v)
{
    return static_cast<std::int16_t>(v & 0xFFFF);
}
constexpr int GET_Y_LPARAM(LPARAM v)
{
    return static_cast<std::int16_t>((v >> 16) & 0xFFFF);
}
constexpr WPARAM MAKEWPARAM(unsigned low, unsigned high)
{
    return (low & 0xFFFF) | (WPARAM{high & 0xFFFF} << 16);
}
constexpr LPARAM MAKELPARAM(unsigned low, unsigned high)
{
    return static_cast<LPARAM>((low & 0xFFFF) | (std::uint32_t{high & 0xFFFF} << 16));
}

// One message as the window procedures see it.
struct Message {
    unsigned id = 0;
    WPARAM wparam = 0;
    LPARAM lparam = 0;
    friend bool operator==(const Message&, const Message&) = default;
};

}  // namespace tarnix
