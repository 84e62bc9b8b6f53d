#include "plugin/EntryPoints.h"

#include "command/VistrelCommand.h"
#include "plugin/TypeDescriptor.h"

#if defined(_WIN32)
#include <windows.h>
#define VISTREL_MODULE_EXPORT __declspec(dllexport)
#else
#define VISTREL_MODULE_EXPORT __attribute__((visibility("default")))
#endif

extern "C" VISTREL_MODULE_EXPORT ChannelType* GetType() {
  FillTypeDescriptor(typeDescriptor);
  return &typeDescriptor;
}

extern "C" VISTREL_MODULE_EXPORT VistrelCommand* InitDLL() { return new VistrelCommand(); }

#if defined(_WIN32)
// Thread attach and detach notifications would only cost time: the module
// keeps no per-thread state. Nothing else happens at load.
BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
  return TRUE;
}
#endif
