#include "rig/engine/ModuleSession.h"

#include <cstring>
#include <filesystem>
#include <fstream>

#include "host/kestrine/ChannelKinds.h"
#include "host/kestrine/StandardChannelTypes.h"
#include "host/kestrine/VelFileSaver.h"
#include "host/windows/InMemoryComboBox.h"
#include "rig/RigError.h"

namespace rig {

ModuleSession::ModuleSession(const std::string& modulePath) {
  std::string error;
  module_ = VistrelModule::Load(modulePath, &error);
  if (!module_) {
    throw RigError(kExitModule, "cannot load the module " + modulePath + ": " + error);
  }
  group_ = std::make_unique<Vel_ChannelGroup>();
  kestrine::RegisterStandardChannelTypes(*group_);
  if (!module_->GetType() || !module_->RegisterWith(*group_)) {
    throw RigError(kExitModule, "the module " + modulePath + " gives no usable channel type");
  }
}

ModuleSession::~ModuleSession() { group_.reset(); }

Oru_FloatChannel* ModuleSession::CreateCommand(const std::string& modeName) {
  auto* command = static_cast<Oru_FloatChannel*>(group_->CreateChannel(module_->GetType()->typeGuid));
  if (!command) throw RigError(kExitModule, "the module's InitDLL gave no command");
  InMemoryComboBox box;
  HWND handle = box.Handle();
  module_->FillModesList(command, handle);
  const auto& items = box.Items();
  std::size_t pick = 0;
  while (pick < items.size() && items[pick] != modeName) ++pick;
  if (pick == items.size()) {
    throw RigError(kExitModule, "the module offers no mode \"" + modeName + "\"");
  }
  SendMessageA(handle, CB_SETCURSEL, pick, 0);
  if (module_->SetNewMode(command, handle) != 0 || ModeOf(command) != modeName) {
    throw RigError(kExitModule, "the module refused the mode \"" + modeName + "\"");
  }
  return command;
}

bool ModuleSession::IsCommand(Vel_Channel* channel) const {
  const ChannelType* type = channel ? channel->GetChannelType() : nullptr;
  return type && std::memcmp(&type->typeGuid, &module_->GetType()->typeGuid, sizeof(_GUID)) == 0;
}

std::string ModuleSession::ModeOf(Oru_FloatChannel* command) const {
  const char* name = module_->GetCurrModeName(command);
  return name ? name : "";
}

int ModuleSession::SlotOf(Oru_FloatChannel* command, const std::string& childName) const {
  for (int slot : command->GetDeclaredSlotIndices()) {
    if (childName == command->GetDeclaredSlot(slot)->childName) return slot;
  }
  throw RigError(kExitModule, "the module's \"" + ModeOf(command) + "\" declares no child \"" +
                                  childName + "\"");
}

void ModuleSession::Connect(Oru_FloatChannel* command, const std::string& childName,
                            Vel_Channel* child) {
  if (!command->ConnectChild(SlotOf(command, childName), child)) {
    throw RigError(kExitModule, "the module's \"" + ModeOf(command) + "\" refused \"" +
                                    child->GetChannelName() + "\" as its child \"" + childName + "\"");
  }
}

Vel_Channel* ModuleSession::ChildOf(Oru_FloatChannel* command, const std::string& childName) const {
  return command->GetChild(SlotOf(command, childName));
}

Oru_FloatChannel* ModuleSession::NewValue(const std::string& name, float value) {
  auto* c = static_cast<Oru_FloatChannel*>(group_->CreateChannel(kestrine::kValueGuid));
  c->SetChannelName(name.c_str());
  c->SetFloat(value);
  return c;
}

Oru_VectorChannel* ModuleSession::NewVector(const std::string& name, D3DXVECTOR3 value) {
  auto* c = static_cast<Oru_VectorChannel*>(group_->CreateChannel(kestrine::kValueVectorGuid));
  c->SetChannelName(name.c_str());
  c->SetVector(value);
  return c;
}

Oru_FloatListChannel* ModuleSession::NewValueList(const std::string& name, Oru_FloatChannel* index) {
  auto* c = static_cast<Oru_FloatListChannel*>(group_->CreateChannel(kestrine::kValueListGuid));
  c->SetChannelName(name.c_str());
  if (index) c->ConnectChild(0, index);
  return c;
}

Oru_VectorListChannel* ModuleSession::NewVectorList(const std::string& name,
                                                    Oru_FloatChannel* index) {
  auto* c =
      static_cast<Oru_VectorListChannel*>(group_->CreateChannel(kestrine::kValueVectorListGuid));
  c->SetChannelName(name.c_str());
  if (index) c->ConnectChild(0, index);
  return c;
}

std::string ModuleSession::ProjectBytes() {
  VelFileSaver saver;
  if (!group_->SaveProject(saver)) {
    throw RigError(kExitModule, "a channel of the project could not be saved; nothing was written");
  }
  const std::vector<unsigned char>& bytes = saver.Bytes();
  return std::string(bytes.begin(), bytes.end());
}

void ModuleSession::LoadProject(const std::string& path) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec) || !std::ifstream(path, std::ios::binary)) {
    throw RigError(kExitBadInput, path + ": cannot open the project file");
  }
  if (!group_->LoadProjectFile(path)) {
    throw RigError(kExitBadInput,
                   path + ": not a whole project file (truncated, corrupt, or of unknown channel "
                          "types), expected a project saved by vistrel-rig run --save");
  }
}

}  // namespace rig
