// The host's channel: a named node of the scene graph with numbered child
// slots. A module derives from it (through Oru_FloatChannel) and overrides
// virtual operations in this slot order:
//   0 ~DllInterface, 1 CallChannel, 2 OneTimeInitialize, 3 DoEvent,
//   4 GetChannelType, 5 SaveChannel, 6 LoadChannel, 7 SetChannelInterfaceType,
//   8 GetChannelFromChannel, 9 GetTimeStamp, 10 SetTimeStamp,
//   11 DoDependencyInit, 12 CheckIndexNrRemoval, 13 GetInternalChild,
//   14 CheckPublicChannelInstanceRemoval, 15 AddMetaData, 16 SetChannelGroup,
//   17 GetFeedbackClass, 18 SetContextRenderCountName,
//   19 GetContextRenderCountName.
//
// Child slots: a channel declares slots (SetChildCreateType) with the kind of
// channel each accepts; a user then connects channels to them (ConnectChild),
// as in the engine's editor. A connection is a link (ChildInfo) owned by the
// channel for its whole life; SetChildCreationCount(0) detaches every link
// and forgets every declaration, and a declaration that hands a detached
// link back re-attaches it.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/kestrine/ChildCreation.h"
#include "host/kestrine/ChildInfo.h"
#include "host/kestrine/DllInterface.h"
#include "host/kestrine/Guid.h"
#include "host/kestrine/KestrineExport.h"

class VelFileSaver;
class VelFileLoader;
class Vel_ChannelGroup;
class Vel_List;

class KESTRINE_API Vel_Channel : public DllInterface {
 public:
  // Slots are numbered 0 .. kSlotLimit - 1; declarations elsewhere are ignored.
  static constexpr int kSlotLimit = 1024;

  // One call that the host received about child slots, kept in order so a
  // test can check exactly what a module declared.
  struct SlotEvent {
    enum Kind { kCreationCount, kCreateType } kind;
    int argument;            // the count, or the index given with the record
    ChildCreation record;    // the record as received (kCreateType only)
  };

  Vel_Channel();
  Vel_Channel(const Vel_Channel& other);
  Vel_Channel& operator=(const Vel_Channel& other);
  ~Vel_Channel() override;

  // --- virtual operations, slots 1 to 19 ---
  // Evaluates the channel once. The base does nothing.
  virtual void CallChannel();
  // Called once by a group after it creates the channel. Returns true.
  virtual bool OneTimeInitialize();
  // A user-interface event; the base handles none and returns false.
  virtual bool DoEvent(int eventCode);
  // The channel's type, or null when it has none.
  virtual const ChannelType* GetChannelType();
  // Writes the host's own part of the channel, one "VELC" block: its name
  // and its attached links, each as (slot, number of the child in the
  // channel's group). Links to channels outside the group are not saved.
  virtual bool SaveChannel(VelFileSaver& saver);
  // Reads one "VELC" block at the loader's cursor: sets the name and
  // replaces the attached links with the saved ones. Their children are
  // resolved by the group once the whole project is loaded. False, changing
  // nothing, when the block is missing or malformed.
  virtual bool LoadChannel(VelFileLoader& loader, Vel_ChannelGroup* group);
  // Sets the type that GetChannelType reports (the group does this for the
  // channels it creates). The record must outlive the channel.
  virtual void SetChannelInterfaceType(const ChannelType* type);
  // The channel that stands for this one in the graph: itself.
  virtual Vel_Channel* GetChannelFromChannel();
  virtual unsigned long GetTimeStamp();
  virtual void SetTimeStamp(unsigned long stamp);
  // Adds the channel types this channel depends on to `dependencies`. The
  // base depends on nothing.
  virtual void DoDependencyInit(Vel_List* dependencies);
  // Whether the slot of that index may be removed by the user: true.
  virtual bool CheckIndexNrRemoval(int slotIndex);
  // Channels that a channel keeps inside itself; the base has none.
  virtual Vel_Channel* GetInternalChild(int index);
  // Told that `removed` is about to be destroyed: detaches every link to it.
  virtual void CheckPublicChannelInstanceRemoval(Vel_Channel* removed);
  // Keeps a key and value pair for the editor; null texts are ignored.
  virtual void AddMetaData(const char* key, const char* value);
  virtual void SetChannelGroup(Vel_ChannelGroup* group);
  // Editor feedback object; the base has none.
  virtual void* GetFeedbackClass();
  virtual void SetContextRenderCountName(const char* name);
  virtual const char* GetContextRenderCountName();

  // --- the SDK's non-virtual operations ---
  void SetChannelName(const char* name);  // null sets the empty name
  const char* GetChannelName() const { return name_.c_str(); }

  // 0 (or less) discards every declaration and detaches every link; n > 0
  // keeps the slots below n.
  void SetChildCreationCount(int count);
  // Declares slot `index` from the record. A handed-over link
  // (hasExistingLink 1) is re-attached when this channel owns it and the
  // slot accepts its child; otherwise the slot starts empty.
  void SetChildCreateType(ChildCreation creation, int index);
  // The link attached to a slot, or null.
  ChildInfo* GetChildInfo(int index);
  // The channel connected at a slot, or null.
  Vel_Channel* GetChild(int index);
  // Adds the channel type `guid` to `dependencies` (ignored when null).
  void AddChannelGuidDepend(_GUID guid, Vel_List* dependencies);

  // --- what a host needs to be a host ---
  // Connects `child` to a declared slot, as a user does in the editor. False,
  // changing nothing, for an undeclared slot, a null child, or a child of a
  // kind the slot does not accept (the any-type slot accepts every channel).
  bool ConnectChild(int index, Vel_Channel* child);
  // Detaches whatever is attached to the slot.
  void DisconnectChild(int index);
  // The declaration of a slot, or null when the slot is not declared.
  const ChildCreation* GetDeclaredSlot(int index) const;
  // Declared slot indices in increasing order.
  std::vector<int> GetDeclaredSlotIndices() const;
  // Every SetChildCreationCount and SetChildCreateType received, in order.
  const std::vector<SlotEvent>& GetSlotEventLog() const { return slotEvents_; }
  void ClearSlotEventLog() { slotEvents_.clear(); }
  const std::vector<std::pair<std::string, std::string>>& GetMetaData() const { return metaData_; }
  Vel_ChannelGroup* GetChannelGroup() const { return group_; }

  // Whether a slot declared with `slotType` accepts `child`: the any-type
  // GUID accepts every channel; otherwise the child's type must name the
  // GUID as its typeGuid or its secondGuid.
  static bool SlotAccepts(const _GUID& slotType, Vel_Channel* child);

 private:
  friend class Vel_ChannelGroup;
  // After a project load: turns saved child numbers into channels and
  // detaches links whose child is unknown, whose slot is not declared, or
  // whose slot does not accept the child.
  void ResolveLoadedLinks(const std::vector<Vel_Channel*>& channelsById);
  ChildInfo* NewLink(Vel_Channel* child, std::uint32_t childId);
  bool OwnsLink(const ChildInfo* link) const;
  void CopyFrom(const Vel_Channel& other);

  std::string name_;
  const ChannelType* type_ = nullptr;
  Vel_ChannelGroup* group_ = nullptr;
  unsigned long timeStamp_ = 0;
  std::string contextRenderCountName_;
  std::vector<std::pair<std::string, std::string>> metaData_;
  std::map<int, ChildCreation> declarations_;
  std::map<int, ChildInfo*> attached_;
  std::vector<std::unique_ptr<ChildInfo>> links_;  // every link this channel ever made
  std::vector<SlotEvent> slotEvents_;
};
