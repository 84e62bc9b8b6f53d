// A project of channels: the host's registry of channel types (by GUID, each
// with a factory), the channels it created from them, their evaluation, and
// saving and loading the whole project with its links.
//
// Project file: a "KPRJ" block (format version, channel count), then for
// each channel a "CHAN" block with its type GUID, the blocks the channel
// itself writes, and an empty "CEND" block. Links name their child by its
// position in the project.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "host/kestrine/ChannelType.h"
#include "host/kestrine/KestrineExport.h"
#include "host/kestrine/Vel_List.h"

class Vel_Channel;
class VelFileSaver;
class VelFileLoader;

class KESTRINE_API Vel_ChannelGroup {
 public:
  // Makes a new channel, or returns null. The group destroys what it gets
  // through the channel's virtual destructor.
  using Factory = std::function<Vel_Channel*()>;

  Vel_ChannelGroup();
  ~Vel_ChannelGroup();
  Vel_ChannelGroup(const Vel_ChannelGroup&) = delete;
  Vel_ChannelGroup& operator=(const Vel_ChannelGroup&) = delete;

  // Registers a type under type.typeGuid. False for an empty factory or a
  // GUID that is registered already.
  bool RegisterType(const ChannelType& type, Factory factory);
  // The group's copy of a registered type, or null.
  const ChannelType* FindType(const _GUID& typeGuid) const;

  // Creates a channel of a registered type: sets its type and group, runs
  // OneTimeInitialize and DoDependencyInit, and keeps it. Null for an
  // unknown type or a factory that gives nothing.
  Vel_Channel* CreateChannel(const _GUID& typeGuid);
  std::size_t GetChannelCount() const { return channels_.size(); }
  Vel_Channel* GetChannel(std::size_t i) const;
  // Position of a channel in the group, or -1.
  long GetChannelId(const Vel_Channel* channel) const;
  // The first channel with that name, or null.
  Vel_Channel* FindChannel(const char* name) const;
  // The dependencies a channel declared when it was created, or null.
  const Vel_List* GetDependencies(const Vel_Channel* channel) const;
  // Tells every other channel, then destroys it. Unknown channels are ignored.
  void RemoveChannel(Vel_Channel* channel);

  // Evaluates every channel once, in the order they were created, and
  // stamps each with the evaluation count. Exceptions leave to the caller.
  void EvaluateAll();

  // Writes every channel. False when a channel's SaveChannel fails; the
  // others are still written. Linear in the channels and their links: a
  // link's child is numbered through a lookup table, not a search.
  bool SaveProject(VelFileSaver& saver);
  // Adds the channels of a saved project to this group and restores their
  // links. All or nothing: the load succeeds whole, or it returns false and
  // destroys every channel it added, leaving the group as it was. It fails
  // for a malformed or truncated block, a channel of an unregistered type,
  // a channel whose LoadChannel fails, and a header whose channel count
  // does not match the file (too large, or bytes left after that many
  // channels). After a load a channel keeps only links on slots it has
  // declared whose slot accepts the child, as ConnectChild would; the rest
  // are detached.
  // Cost: linear in the file's size. Each block is read once; a channel's
  // saved links are bounded by its block's size, and every one is checked
  // once.
  bool LoadProject(VelFileLoader& loader);
  bool SaveProjectFile(const std::string& path);
  bool LoadProjectFile(const std::string& path);

 private:
  struct Registration {
    ChannelType type;
    Factory factory;
  };
  struct Member {
    std::unique_ptr<Vel_Channel> channel;
    Vel_List dependencies;
  };
  Vel_Channel* Adopt(Vel_Channel* channel, const ChannelType* type);
  // Destroys the channels from position `first` on, newest first, telling
  // nobody: they are known to no channel before them.
  void DropFrom(std::size_t first);

  std::vector<std::unique_ptr<Registration>> types_;
  std::vector<Member> channels_;
  std::unordered_map<const Vel_Channel*, std::size_t> ids_;  // position in channels_
  unsigned long evaluations_ = 0;
};
