// Symbol export for the projection math library, a shared library of its own.
#pragma once

#if defined(_WIN32)
#if defined(VISTREL_BUILDING)
#define VISTREL_API __declspec(dllexport)
#else
#define VISTREL_API __declspec(dllimport)
#endif
#else
#define VISTREL_API __attribute__((visibility("default")))
#endif
