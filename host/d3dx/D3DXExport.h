// How the two D3DX functions are declared: as the real library declares
// them, with C linkage and the WINAPI calling convention (stdcall on 32-bit
// Windows, so the import names are decorated `_Name@bytes`). On Windows they
// are imported from d3dx9_35.dll through mingw-w64's import library; elsewhere
// our stand-in shared library exports them under the same C names.
#pragma once

#if defined(_WIN32)
#define D3DX_API __declspec(dllimport)
#define D3DX_WINAPI __stdcall
#else
#define D3DX_API __attribute__((visibility("default")))
#define D3DX_WINAPI
#endif
