// Loads the calibration command module as the engine does: with the
// platform's dynamic loader, through its two plain-named entry points, and
// reaches the command's exported members by their class-qualified (mangled)
// names. A created command is handled as the host's float channel: the
// command derives from it along a single, non-virtual chain, so both share
// one address.
//
// Every entry point is called through a pointer of its own declared type
// (plugin/EntryPoints.h): calling a function through another function type
// is undefined even when the return values convert, and a clang
// -fsanitize=function build stops there.
#pragma once

#include <memory>
#include <string>

#include "host/kestrine/ChannelType.h"
#include "host/kestrine/Oru_FloatChannel.h"
#include "host/windows/WindowsMessages.h"
#include "plugin/EntryPoints.h"

class Vel_ChannelGroup;

// How an exported non-static member is called through a plain function
// pointer, the object first: on 32-bit Windows members use thiscall (the
// object in ECX), everywhere else the ordinary convention. GCC applies
// thiscall to a plain function pointer but, being pedantic, warns about it.
#if defined(_WIN32) && defined(__i386__)
#define VISTREL_MEMBER_CALL __thiscall
#else
#define VISTREL_MEMBER_CALL
#endif

class VistrelModule {
 public:
  // Loads the module at `path`. Null, with the loader's message in *error,
  // when it cannot be loaded or lacks an entry point or exported member.
  static std::unique_ptr<VistrelModule> Load(const std::string& path, std::string* error);

  // Unloads the module: every command it created must be destroyed first.
  ~VistrelModule();
  VistrelModule(const VistrelModule&) = delete;
  VistrelModule& operator=(const VistrelModule&) = delete;

  ChannelType* GetType() const { return getType_(); }
  // A new command; the caller owns it and deletes it through its virtual
  // destructor.
  Oru_FloatChannel* InitDLL() const;
  // Registers the module's channel type with a group, with InitDLL as its
  // factory. False when the group has that type already.
  bool RegisterWith(Vel_ChannelGroup& group) const;

  // The command's exported members, called on a command from InitDLL.
  void FillModesList(Oru_FloatChannel* command, HWND& box) const;
  int SetNewMode(Oru_FloatChannel* command, HWND& box) const;
  int CCI_SetMode(Oru_FloatChannel* command, const char* description) const;
  const char* GetCurrModeName(Oru_FloatChannel* command) const;
  const char* GetPrefix(Oru_FloatChannel* command) const;
  unsigned int CCI_GetModes(Oru_FloatChannel* command) const;
  const char* GetModeName(Oru_FloatChannel* command, unsigned int index) const;

 private:
  VistrelModule() = default;

  void* handle_ = nullptr;
  GetTypeFunction getType_ = nullptr;
  InitDllFunction initDll_ = nullptr;
#if defined(_WIN32) && defined(__i386__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wattributes"
#endif
  void (VISTREL_MEMBER_CALL *fillModesList_)(Oru_FloatChannel*, HWND&) = nullptr;
  int (VISTREL_MEMBER_CALL *setNewMode_)(Oru_FloatChannel*, HWND&) = nullptr;
  int (VISTREL_MEMBER_CALL *setMode_)(Oru_FloatChannel*, const char*) = nullptr;
  const char* (VISTREL_MEMBER_CALL *getCurrModeName_)(Oru_FloatChannel*) = nullptr;
  const char* (VISTREL_MEMBER_CALL *getPrefix_)(Oru_FloatChannel*) = nullptr;
  unsigned int (VISTREL_MEMBER_CALL *getModes_)(Oru_FloatChannel*) = nullptr;
  const char* (VISTREL_MEMBER_CALL *getModeName_)(Oru_FloatChannel*, unsigned int) = nullptr;
#if defined(_WIN32) && defined(__i386__)
#pragma GCC diagnostic pop
#endif
};
