// Symbol export for the D3DX stand-in, which is a shared library of its own.
#pragma once

#if defined(_WIN32)
#if defined(D3DX_BUILDING)
#define D3DX_API __declspec(dllexport)
#else
#define D3DX_API __declspec(dllimport)
#endif
#else
#define D3DX_API __attribute__((visibility("default")))
#endif
