#include "host/kestrine/Oru_FloatListChannel.h"

#include "host/kestrine/BlockCodec.h"
#include "host/kestrine/StandardChannelTypes.h"
#include "host/kestrine/VelFileLoader.h"
#include "host/kestrine/VelFileSaver.h"

namespace {
constexpr char kListTag[] = "FLST";
}

Oru_FloatListChannel::Oru_FloatListChannel() {
  Vel_Channel::SetChannelInterfaceType(&kestrine::ValueListChannelType());
  kestrine::ListIndexSelector::DeclareIndexSlot(*this);
}

Oru_FloatListChannel::~Oru_FloatListChannel() = default;

float Oru_FloatListChannel::GetFloat() {
  if (elements_.empty()) return 0.0f;
  return elements_[selector_.Pick(*this, elements_.size())];
}

void Oru_FloatListChannel::SetFloat(float value) {
  if (elements_.empty()) return;
  elements_[selector_.Pick(*this, elements_.size())] = value;
}

bool Oru_FloatListChannel::SaveChannel(VelFileSaver& saver) {
  if (!Oru_FloatChannel::SaveChannel(saver)) return false;
  kestrine::BlockWriter block;
  block.PutU32(static_cast<std::uint32_t>(elements_.size()));
  for (float f : elements_) block.PutFloat(f);
  saver.SaveBlock(kListTag, block.Bytes());
  return true;
}

bool Oru_FloatListChannel::LoadChannel(VelFileLoader& loader, Vel_ChannelGroup* group) {
  if (!Oru_FloatChannel::LoadChannel(loader, group)) return false;
  std::vector<unsigned char> data;
  if (!loader.GetInfoIfTag(kListTag) || !loader.CopyTagData(&data)) return false;
  kestrine::BlockReader reader(data);
  std::uint32_t count = 0;
  if (!reader.GetU32(&count) || count > reader.Remaining() / 4) return false;
  std::vector<float> elements(count);
  for (float& f : elements) reader.GetFloat(&f);
  elements_ = std::move(elements);
  return true;
}
