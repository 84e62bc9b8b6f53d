// The combo box that tests and tools hand to the module's mode list: a real
// "COMBOBOX" window on Windows, the in-memory stand-in elsewhere. Both offer
// Handle(), Items(), Selection(), Log() and ClearLog().
#pragma once

#if defined(_WIN32)
#include "host/windows/Win32ComboBox.h"
using ComboBoxControl = Win32ComboBox;
inline constexpr bool kComboBoxControlIsReal = true;
#else
#include "host/windows/InMemoryComboBox.h"
using ComboBoxControl = InMemoryComboBox;
inline constexpr bool kComboBoxControlIsReal = false;
#endif
