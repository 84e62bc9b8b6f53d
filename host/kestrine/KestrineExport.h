// Symbol export for the host channel SDK stand-in, a shared library.
#pragma once

#if defined(_WIN32)
#if defined(KESTRINE_BUILDING)
#define KESTRINE_API __declspec(dllexport)
#else
#define KESTRINE_API __declspec(dllimport)
#endif
#else
#define KESTRINE_API __attribute__((visibility("default")))
#endif
