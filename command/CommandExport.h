// What the module exports of the command and its command template. On
// Windows the classes are marked for export, which exports every member, the
// virtual tables and the type information; elsewhere the module's linker
// version script (plugin/exports.map) selects the same by name.
#pragma once

#if defined(_WIN32)
#define VISTREL_COMMAND_API __declspec(dllexport)
#else
#define VISTREL_COMMAND_API
#endif
