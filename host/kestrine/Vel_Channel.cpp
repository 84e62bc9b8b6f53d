#include "host/kestrine/Vel_Channel.h"

#include <algorithm>

#include "host/kestrine/BlockCodec.h"
#include "host/kestrine/ChannelKinds.h"
#include "host/kestrine/VelFileLoader.h"
#include "host/kestrine/VelFileSaver.h"
#include "host/kestrine/Vel_ChannelGroup.h"
#include "host/kestrine/Vel_List.h"

namespace {
constexpr char kChannelTag[] = "VELC";
// The log keeps the most recent events; a long-running host must not grow it
// without bound.
constexpr std::size_t kSlotEventLogLimit = 4096;
// The child number of a link whose child is gone: never resolved again.
constexpr std::uint32_t kNoChildId = 0xFFFFFFFFu;
}  // namespace

Vel_Channel::Vel_Channel() = default;

Vel_Channel::Vel_Channel(const Vel_Channel& other) : DllInterface(other) { CopyFrom(other); }

Vel_Channel& Vel_Channel::operator=(const Vel_Channel& other) {
  if (this != &other) {
    DllInterface::operator=(other);
    CopyFrom(other);
  }
  return *this;
}

// A copy has the same name, type, declarations and connections; its links
// are its own objects. Handed-over links of the original are not this
// channel's, so declarations never re-attach them.
void Vel_Channel::CopyFrom(const Vel_Channel& other) {
  name_ = other.name_;
  type_ = other.type_;
  group_ = other.group_;
  timeStamp_ = other.timeStamp_;
  contextRenderCountName_ = other.contextRenderCountName_;
  metaData_ = other.metaData_;
  declarations_ = other.declarations_;
  attached_.clear();
  links_.clear();
  for (const auto& [slot, link] : other.attached_) {
    ChildInfo* copy = NewLink(link->child, link->childId);
    copy->slotIndex = slot;
    attached_[slot] = copy;
  }
  slotEvents_.clear();
}

Vel_Channel::~Vel_Channel() = default;

void Vel_Channel::CallChannel() {}
bool Vel_Channel::OneTimeInitialize() { return true; }
bool Vel_Channel::DoEvent(int) { return false; }
const ChannelType* Vel_Channel::GetChannelType() { return type_; }

bool Vel_Channel::SaveChannel(VelFileSaver& saver) {
  kestrine::BlockWriter block;
  block.PutString(name_);
  std::vector<std::pair<int, long>> saved;
  for (const auto& [slot, link] : attached_) {
    const long id = group_ && link->child ? group_->GetChannelId(link->child) : -1;
    if (id >= 0) saved.emplace_back(slot, id);
  }
  block.PutU32(static_cast<std::uint32_t>(saved.size()));
  for (const auto& [slot, id] : saved) {
    block.PutI32(slot);
    block.PutU32(static_cast<std::uint32_t>(id));
  }
  saver.SaveBlock(kChannelTag, block.Bytes());
  return true;
}

bool Vel_Channel::LoadChannel(VelFileLoader& loader, Vel_ChannelGroup*) {
  std::vector<unsigned char> data;
  if (!loader.GetInfoIfTag(kChannelTag) || !loader.CopyTagData(&data)) return false;
  kestrine::BlockReader reader(data);
  std::string name;
  std::uint32_t count = 0;
  if (!reader.GetString(&name) || !reader.GetU32(&count) || count > reader.Remaining() / 8) {
    return false;
  }
  std::vector<std::pair<std::int32_t, std::uint32_t>> saved(count);
  for (auto& [slot, id] : saved) {
    if (!reader.GetI32(&slot) || !reader.GetU32(&id)) return false;
  }
  name_ = std::move(name);
  for (auto& [slot, link] : attached_) link->slotIndex = -1;
  attached_.clear();
  for (const auto& [slot, id] : saved) {
    if (slot < 0 || slot >= kSlotLimit) continue;
    ChildInfo* link = NewLink(nullptr, id);
    link->slotIndex = slot;
    auto old = attached_.find(slot);
    if (old != attached_.end()) old->second->slotIndex = -1;
    attached_[slot] = link;
  }
  return true;
}

void Vel_Channel::SetChannelInterfaceType(const ChannelType* type) { type_ = type; }
Vel_Channel* Vel_Channel::GetChannelFromChannel() { return this; }
unsigned long Vel_Channel::GetTimeStamp() { return timeStamp_; }
void Vel_Channel::SetTimeStamp(unsigned long stamp) { timeStamp_ = stamp; }
void Vel_Channel::DoDependencyInit(Vel_List*) {}
bool Vel_Channel::CheckIndexNrRemoval(int) { return true; }
Vel_Channel* Vel_Channel::GetInternalChild(int) { return nullptr; }

void Vel_Channel::CheckPublicChannelInstanceRemoval(Vel_Channel* removed) {
  for (auto it = attached_.begin(); it != attached_.end();) {
    if (it->second->child == removed) {
      it->second->slotIndex = -1;
      it = attached_.erase(it);
    } else {
      ++it;
    }
  }
  // Detached links must not keep a pointer to a destroyed channel either:
  // a later declaration could hand one back.
  for (auto& link : links_) {
    if (link->child == removed) {
      link->child = nullptr;
      link->childId = kNoChildId;
    }
  }
}

void Vel_Channel::AddMetaData(const char* key, const char* value) {
  if (key && value) metaData_.emplace_back(key, value);
}

void Vel_Channel::SetChannelGroup(Vel_ChannelGroup* group) { group_ = group; }
void* Vel_Channel::GetFeedbackClass() { return nullptr; }
void Vel_Channel::SetContextRenderCountName(const char* name) {
  contextRenderCountName_ = name ? name : "";
}
const char* Vel_Channel::GetContextRenderCountName() { return contextRenderCountName_.c_str(); }

void Vel_Channel::SetChannelName(const char* name) { name_ = name ? name : ""; }

void Vel_Channel::SetChildCreationCount(int count) {
  if (slotEvents_.size() >= kSlotEventLogLimit) slotEvents_.clear();
  slotEvents_.push_back({SlotEvent::kCreationCount, count, ChildCreation()});
  const int keep = std::max(count, 0);
  declarations_.erase(declarations_.lower_bound(keep), declarations_.end());
  for (auto it = attached_.lower_bound(keep); it != attached_.end(); it = attached_.erase(it)) {
    it->second->slotIndex = -1;
  }
}

void Vel_Channel::SetChildCreateType(ChildCreation creation, int index) {
  if (slotEvents_.size() >= kSlotEventLogLimit) slotEvents_.clear();
  slotEvents_.push_back({SlotEvent::kCreateType, index, creation});
  if (index < 0 || index >= kSlotLimit) return;
  creation.type.typeName[sizeof creation.type.typeName - 1] = '\0';
  creation.childName[sizeof creation.childName - 1] = '\0';
  declarations_[index] = creation;
  DisconnectChild(index);
  ChildInfo* link = creation.existingLink;
  if (creation.hasExistingLink == 0 || link == nullptr || !OwnsLink(link)) return;
  // A link whose child is not known yet (a project still loading) is
  // checked when the group resolves it.
  if (link->child != nullptr && !SlotAccepts(creation.type.typeGuid, link->child)) return;
  if (link->slotIndex >= 0 && link->slotIndex != index) attached_.erase(link->slotIndex);
  link->slotIndex = index;
  attached_[index] = link;
}

ChildInfo* Vel_Channel::GetChildInfo(int index) {
  auto it = attached_.find(index);
  return it == attached_.end() ? nullptr : it->second;
}

Vel_Channel* Vel_Channel::GetChild(int index) {
  ChildInfo* link = GetChildInfo(index);
  return link ? link->child : nullptr;
}

void Vel_Channel::AddChannelGuidDepend(_GUID guid, Vel_List* dependencies) {
  if (dependencies) dependencies->AddGuid(guid);
}

bool Vel_Channel::ConnectChild(int index, Vel_Channel* child) {
  auto declared = declarations_.find(index);
  if (declared == declarations_.end() || child == nullptr) return false;
  if (!SlotAccepts(declared->second.type.typeGuid, child)) return false;
  DisconnectChild(index);
  ChildInfo* link = NewLink(child, kNoChildId);
  link->slotIndex = index;
  attached_[index] = link;
  return true;
}

void Vel_Channel::DisconnectChild(int index) {
  auto it = attached_.find(index);
  if (it == attached_.end()) return;
  it->second->slotIndex = -1;
  attached_.erase(it);
}

const ChildCreation* Vel_Channel::GetDeclaredSlot(int index) const {
  auto it = declarations_.find(index);
  return it == declarations_.end() ? nullptr : &it->second;
}

std::vector<int> Vel_Channel::GetDeclaredSlotIndices() const {
  std::vector<int> indices;
  for (const auto& entry : declarations_) indices.push_back(entry.first);
  return indices;
}

bool Vel_Channel::SlotAccepts(const _GUID& slotType, Vel_Channel* child) {
  if (child == nullptr) return false;
  if (GuidsEqual(slotType, kestrine::kAnyTypeGuid)) return true;
  const ChannelType* type = child->GetChannelType();
  if (type == nullptr) return false;
  return GuidsEqual(type->typeGuid, slotType) || GuidsEqual(type->secondGuid, slotType);
}

void Vel_Channel::ResolveLoadedLinks(const std::vector<Vel_Channel*>& channelsById) {
  for (auto& link : links_) {
    if (link->child == nullptr && link->childId != kNoChildId &&
        link->childId < channelsById.size()) {
      link->child = channelsById[link->childId];
    }
  }
  for (auto it = attached_.begin(); it != attached_.end();) {
    const ChildCreation* declared = GetDeclaredSlot(it->first);
    const bool keep = declared != nullptr && SlotAccepts(declared->type.typeGuid, it->second->child);
    if (keep) {
      ++it;
    } else {
      it->second->slotIndex = -1;
      it = attached_.erase(it);
    }
  }
}

ChildInfo* Vel_Channel::NewLink(Vel_Channel* child, std::uint32_t childId) {
  links_.push_back(std::make_unique<ChildInfo>());
  ChildInfo* link = links_.back().get();
  link->owner = this;
  link->child = child;
  link->childId = childId;
  return link;
}

// Compares addresses only: a handed-over pointer may be stale, so it is
// never dereferenced before it is known to be one of ours.
bool Vel_Channel::OwnsLink(const ChildInfo* link) const {
  return std::any_of(links_.begin(), links_.end(),
                     [link](const std::unique_ptr<ChildInfo>& own) { return own.get() == link; });
}
