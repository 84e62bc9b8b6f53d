#include "host/module_loader/VistrelModule.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include "host/kestrine/Vel_ChannelGroup.h"

namespace {

// The Itanium C++ ABI names of the command template's members for
// T = VistrelCommand; a non-static member function is called with the
// object as its first argument.
constexpr char kPrefix[] = "_ZN23CommandChannelInterfaceI14VistrelCommandE";

#if defined(_WIN32)
// The platform's loader: LoadLibrary, GetProcAddress, FreeLibrary.
void* OpenModule(const std::string& path, std::string* error) {
  HMODULE module = LoadLibraryA(path.c_str());
  if (module == nullptr && error) *error = "LoadLibrary failed, error " + std::to_string(GetLastError());
  return reinterpret_cast<void*>(module);
}
void* FindExport(void* handle, const std::string& name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name.c_str()));
}
void CloseModule(void* handle) { FreeLibrary(static_cast<HMODULE>(handle)); }
#else
// The platform's loader: dlopen, dlsym, dlclose.
void* OpenModule(const std::string& path, std::string* error) {
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr && error) *error = dlerror();
  return handle;
}
void* FindExport(void* handle, const std::string& name) { return dlsym(handle, name.c_str()); }
void CloseModule(void* handle) { dlclose(handle); }
#endif

// InitDLL returns the module's command class, which the host knows by name
// only. Its float channel base starts at the command's own address (single,
// non-virtual inheritance: the module's tests check it), so the address is
// reinterpreted, never adjusted.
Oru_FloatChannel* AsFloatChannel(VistrelCommand* command) {
  return reinterpret_cast<Oru_FloatChannel*>(command);
}

template <typename Function>
bool Resolve(void* handle, const std::string& name, Function* out, std::string* error) {
  void* symbol = FindExport(handle, name);
  if (symbol == nullptr) {
    if (error) *error = "missing export " + name;
    return false;
  }
  *out = reinterpret_cast<Function>(symbol);
  return true;
}

}  // namespace

std::unique_ptr<VistrelModule> VistrelModule::Load(const std::string& path, std::string* error) {
  void* handle = OpenModule(path, error);
  if (handle == nullptr) return nullptr;
  std::unique_ptr<VistrelModule> module(new VistrelModule);
  module->handle_ = handle;
  const std::string p = kPrefix;
  const bool ok =
      Resolve(handle, "GetType", &module->getType_, error) &&
      Resolve(handle, "InitDLL", &module->initDll_, error) &&
      Resolve(handle, p + "13FillModesListERP6HWND__", &module->fillModesList_, error) &&
      Resolve(handle, p + "10SetNewModeERP6HWND__", &module->setNewMode_, error) &&
      Resolve(handle, p + "11CCI_SetModeEPKc", &module->setMode_, error) &&
      Resolve(handle, p + "15GetCurrModeNameEv", &module->getCurrModeName_, error) &&
      Resolve(handle, p + "9GetPrefixEv", &module->getPrefix_, error) &&
      Resolve(handle, p + "12CCI_GetModesEv", &module->getModes_, error) &&
      Resolve(handle, p + "11GetModeNameEj", &module->getModeName_, error);
  if (!ok) return nullptr;
  return module;
}

VistrelModule::~VistrelModule() {
  if (handle_ != nullptr) CloseModule(handle_);
}

Oru_FloatChannel* VistrelModule::InitDLL() const { return AsFloatChannel(initDll_()); }

bool VistrelModule::RegisterWith(Vel_ChannelGroup& group) const {
  const InitDllFunction initDll = initDll_;
  return group.RegisterType(*GetType(),
                            [initDll]() -> Vel_Channel* { return AsFloatChannel(initDll()); });
}

void VistrelModule::FillModesList(Oru_FloatChannel* command, HWND& box) const {
  fillModesList_(command, box);
}
int VistrelModule::SetNewMode(Oru_FloatChannel* command, HWND& box) const {
  return setNewMode_(command, box);
}
int VistrelModule::CCI_SetMode(Oru_FloatChannel* command, const char* description) const {
  return setMode_(command, description);
}
const char* VistrelModule::GetCurrModeName(Oru_FloatChannel* command) const {
  return getCurrModeName_(command);
}
const char* VistrelModule::GetPrefix(Oru_FloatChannel* command) const {
  return getPrefix_(command);
}
unsigned int VistrelModule::CCI_GetModes(Oru_FloatChannel* command) const {
  return getModes_(command);
}
const char* VistrelModule::GetModeName(Oru_FloatChannel* command, unsigned int index) const {
  return getModeName_(command, index);
}
