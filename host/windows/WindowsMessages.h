// The part of the Windows messaging API that the module uses: window handles,
// SendMessageA and the combo-box messages. On Windows this is <windows.h>;
// elsewhere SendMessageA is served by the in-memory combo box stand-in.
#pragma once

#if defined(_WIN32)

#include <windows.h>

// The combo-box helpers are a static library on Windows.
#define WIN32_COMBO_API

#else

#include <cstdint>

// Exported from the stand-in's shared library.
#define WIN32_COMBO_API __attribute__((visibility("default")))

// Opaque window handle, as in the real headers: a pointer to a type that is
// never defined. Null is never a window.
struct HWND__;
typedef HWND__* HWND;

typedef unsigned int UINT;
typedef std::uintptr_t WPARAM;
typedef std::intptr_t LPARAM;
typedef std::intptr_t LRESULT;

// Appends the zero-terminated text at lParam; returns its position.
inline constexpr UINT CB_ADDSTRING = 0x0143;
// Selects position wParam, or clears the selection; returns the position.
inline constexpr UINT CB_SETCURSEL = 0x014E;
// Returns the selected position.
inline constexpr UINT CB_GETCURSEL = 0x0147;
// Copies item wParam with its terminator into the buffer at lParam, which
// must hold CB_GETLBTEXTLEN + 1 characters; returns the length.
inline constexpr UINT CB_GETLBTEXT = 0x0148;
// Returns the length of item wParam, without the terminator.
inline constexpr UINT CB_GETLBTEXTLEN = 0x0149;

// What the messages above return for a bad position, a null text or buffer,
// and CB_GETCURSEL or CB_SETCURSEL when nothing is selected.
inline constexpr LRESULT CB_ERR = -1;

// Sends `message` to the window `window` and returns the window's answer.
// A handle that names no live window gets 0, and nothing happens.
extern "C" WIN32_COMBO_API LRESULT SendMessageA(HWND window, UINT message,
                                                WPARAM wParam, LPARAM lParam);

#endif
