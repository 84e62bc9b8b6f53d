// The program's engine: the calibration command module loaded with the
// platform's loader, and one project of channels (the host's channel group)
// in which the module's commands and the host's value, vector and list
// channels live. Commands are created through the module's entry points,
// their mode is picked in a combo box as a user picks it, and children are
// connected to the slots the module declared, found by their child names:
// nothing here knows the module's slot numbers.
#pragma once

#include <memory>
#include <string>

#include "host/d3dx/D3DXMath.h"
#include "host/kestrine/Oru_FloatChannel.h"
#include "host/kestrine/Oru_FloatListChannel.h"
#include "host/kestrine/Oru_VectorChannel.h"
#include "host/kestrine/Oru_VectorListChannel.h"
#include "host/kestrine/Vel_ChannelGroup.h"
#include "host/module_loader/VistrelModule.h"

namespace rig {

class ModuleSession {
 public:
  // Loads the module at `modulePath` and registers its channel type and the
  // host's own types with a new, empty group. Throws RigError (module) when
  // the module cannot be loaded or lacks an entry point.
  explicit ModuleSession(const std::string& modulePath);
  ~ModuleSession();
  ModuleSession(const ModuleSession&) = delete;
  ModuleSession& operator=(const ModuleSession&) = delete;

  Vel_ChannelGroup& Group() { return *group_; }
  const VistrelModule& Module() const { return *module_; }

  // A new command of the module with `modeName` picked from its mode list.
  Oru_FloatChannel* CreateCommand(const std::string& modeName);
  // Whether `channel` is one of the module's commands; its current mode.
  bool IsCommand(Vel_Channel* channel) const;
  std::string ModeOf(Oru_FloatChannel* command) const;

  // The slot the command declared under `childName` in its current mode;
  // throws RigError (module) when it declared none.
  int SlotOf(Oru_FloatChannel* command, const std::string& childName) const;
  // Connects `child` to that slot; throws RigError (module) when refused.
  void Connect(Oru_FloatChannel* command, const std::string& childName, Vel_Channel* child);
  // The channel connected at that slot, or null.
  Vel_Channel* ChildOf(Oru_FloatChannel* command, const std::string& childName) const;

  // New named host channels.
  Oru_FloatChannel* NewValue(const std::string& name, float value);
  Oru_VectorChannel* NewVector(const std::string& name, D3DXVECTOR3 value);
  Oru_FloatListChannel* NewValueList(const std::string& name, Oru_FloatChannel* index);
  Oru_VectorListChannel* NewVectorList(const std::string& name, Oru_FloatChannel* index);

  // The whole project as the group saves it, for the caller to write
  // (with the other outputs, all or none). Throws RigError (module) when a
  // channel cannot save itself.
  std::string ProjectBytes();
  // Loads a whole project through the group. Throws RigError (bad input)
  // when the file cannot be read as a whole project.
  void LoadProject(const std::string& path);

 private:
  std::unique_ptr<VistrelModule> module_;
  // Destroyed before the module is unloaded: it owns the module's commands.
  std::unique_ptr<Vel_ChannelGroup> group_;
};

}  // namespace rig
