#include "host/kestrine/Vel_ChannelGroup.h"

#include <cstring>

#include "host/kestrine/BlockCodec.h"
#include "host/kestrine/VelFileLoader.h"
#include "host/kestrine/VelFileSaver.h"
#include "host/kestrine/Vel_Channel.h"

namespace {
constexpr char kProjectTag[] = "KPRJ";
constexpr char kChannelStartTag[] = "CHAN";
constexpr char kChannelEndTag[] = "CEND";
constexpr std::uint32_t kProjectVersion = 1;

bool ReadBlock(VelFileLoader& loader, const char* tag, std::vector<unsigned char>* data) {
  return loader.GetInfoIfTag(tag) && loader.CopyTagData(data);
}
}  // namespace

Vel_ChannelGroup::Vel_ChannelGroup() = default;

Vel_ChannelGroup::~Vel_ChannelGroup() {
  // Destroy in reverse order of creation; nobody is told, all go.
  while (!channels_.empty()) channels_.pop_back();
}

bool Vel_ChannelGroup::RegisterType(const ChannelType& type, Factory factory) {
  if (!factory || FindType(type.typeGuid) != nullptr) return false;
  auto registration = std::make_unique<Registration>();
  registration->type = type;
  registration->type.registryIndex = static_cast<std::int32_t>(types_.size());
  registration->factory = std::move(factory);
  types_.push_back(std::move(registration));
  return true;
}

const ChannelType* Vel_ChannelGroup::FindType(const _GUID& typeGuid) const {
  for (const auto& registration : types_) {
    if (GuidsEqual(registration->type.typeGuid, typeGuid)) return &registration->type;
  }
  return nullptr;
}

Vel_Channel* Vel_ChannelGroup::CreateChannel(const _GUID& typeGuid) {
  for (const auto& registration : types_) {
    if (GuidsEqual(registration->type.typeGuid, typeGuid)) {
      return Adopt(registration->factory(), &registration->type);
    }
  }
  return nullptr;
}

Vel_Channel* Vel_ChannelGroup::Adopt(Vel_Channel* channel, const ChannelType* type) {
  if (channel == nullptr) return nullptr;
  channels_.push_back(Member{std::unique_ptr<Vel_Channel>(channel), Vel_List()});
  ids_[channel] = channels_.size() - 1;
  channel->SetChannelInterfaceType(type);
  channel->SetChannelGroup(this);
  channel->OneTimeInitialize();
  channel->DoDependencyInit(&channels_.back().dependencies);
  return channel;
}

Vel_Channel* Vel_ChannelGroup::GetChannel(std::size_t i) const {
  return i < channels_.size() ? channels_[i].channel.get() : nullptr;
}

long Vel_ChannelGroup::GetChannelId(const Vel_Channel* channel) const {
  auto it = ids_.find(channel);
  return it == ids_.end() ? -1 : static_cast<long>(it->second);
}

Vel_Channel* Vel_ChannelGroup::FindChannel(const char* name) const {
  if (name == nullptr) return nullptr;
  for (const Member& member : channels_) {
    if (std::strcmp(member.channel->GetChannelName(), name) == 0) return member.channel.get();
  }
  return nullptr;
}

const Vel_List* Vel_ChannelGroup::GetDependencies(const Vel_Channel* channel) const {
  const long id = GetChannelId(channel);
  return id < 0 ? nullptr : &channels_[static_cast<std::size_t>(id)].dependencies;
}

void Vel_ChannelGroup::RemoveChannel(Vel_Channel* channel) {
  const long id = GetChannelId(channel);
  if (id < 0) return;
  for (Member& member : channels_) {
    if (member.channel.get() != channel) member.channel->CheckPublicChannelInstanceRemoval(channel);
  }
  ids_.erase(channel);
  channels_.erase(channels_.begin() + id);
  for (std::size_t i = static_cast<std::size_t>(id); i < channels_.size(); ++i) {
    ids_[channels_[i].channel.get()] = i;
  }
}

void Vel_ChannelGroup::DropFrom(std::size_t first) {
  while (channels_.size() > first) {
    ids_.erase(channels_.back().channel.get());
    channels_.pop_back();
  }
}

void Vel_ChannelGroup::EvaluateAll() {
  ++evaluations_;
  for (std::size_t i = 0; i < channels_.size(); ++i) {
    Vel_Channel* channel = channels_[i].channel.get();
    channel->CallChannel();
    channel->SetTimeStamp(evaluations_);
  }
}

bool Vel_ChannelGroup::SaveProject(VelFileSaver& saver) {
  kestrine::BlockWriter header;
  header.PutU32(kProjectVersion);
  header.PutU32(static_cast<std::uint32_t>(channels_.size()));
  saver.SaveBlock(kProjectTag, header.Bytes());
  bool ok = true;
  for (Member& member : channels_) {
    const ChannelType* type = member.channel->GetChannelType();
    _GUID guid{};
    if (type != nullptr) guid = type->typeGuid;
    kestrine::BlockWriter start;
    start.PutBytes(&guid, sizeof guid);
    saver.SaveBlock(kChannelStartTag, start.Bytes());
    ok = member.channel->SaveChannel(saver) && ok;
    saver.SaveBlock(kChannelEndTag, {});
  }
  return ok;
}

bool Vel_ChannelGroup::LoadProject(VelFileLoader& loader) {
  std::vector<unsigned char> data;
  if (!ReadBlock(loader, kProjectTag, &data)) return false;
  kestrine::BlockReader header(data);
  std::uint32_t version = 0, count = 0;
  if (!header.GetU32(&version) || !header.GetU32(&count) || version != kProjectVersion) {
    return false;
  }
  const std::size_t first = channels_.size();
  std::vector<Vel_Channel*> loaded;
  bool ok = true;
  // Every pass consumes at least one block, so a corrupt count cannot keep
  // this going past the end of the file.
  for (std::uint32_t i = 0; ok && i < count; ++i) {
    if (!ReadBlock(loader, kChannelStartTag, &data) || data.size() != sizeof(_GUID)) {
      ok = false;
      break;
    }
    _GUID guid;
    std::memcpy(&guid, data.data(), sizeof guid);
    Vel_Channel* channel = CreateChannel(guid);
    ok = channel != nullptr && channel->LoadChannel(loader, this);
    loaded.push_back(channel);
    // Skip whatever the channel left unread, up to its end marker.
    bool ended = false;
    while (!(ended = ReadBlock(loader, kChannelEndTag, &data))) {
      if (!loader.SkipBlock()) break;
    }
    ok = ok && ended;
  }
  if (!ok || !loader.AtEnd()) {
    DropFrom(first);
    return false;
  }
  for (Vel_Channel* channel : loaded) channel->ResolveLoadedLinks(loaded);
  return true;
}

bool Vel_ChannelGroup::SaveProjectFile(const std::string& path) {
  VelFileSaver saver;
  const bool ok = SaveProject(saver);
  return saver.WriteToFile(path) && ok;
}

bool Vel_ChannelGroup::LoadProjectFile(const std::string& path) {
  VelFileLoader loader;
  return loader.ReadFromFile(path) && LoadProject(loader);
}
