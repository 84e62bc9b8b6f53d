#include "host/kestrine/Oru_VectorListChannel.h"

#include "host/kestrine/BlockCodec.h"
#include "host/kestrine/StandardChannelTypes.h"
#include "host/kestrine/VelFileLoader.h"
#include "host/kestrine/VelFileSaver.h"

namespace {
constexpr char kListTag[] = "VLST";
}

Oru_VectorListChannel::Oru_VectorListChannel() {
  Vel_Channel::SetChannelInterfaceType(&kestrine::ValueVectorListChannelType());
  kestrine::ListIndexSelector::DeclareIndexSlot(*this);
}

Oru_VectorListChannel::~Oru_VectorListChannel() = default;

D3DXVECTOR3 Oru_VectorListChannel::GetVector() {
  if (elements_.empty()) return D3DXVECTOR3(0.0f, 0.0f, 0.0f);
  return elements_[selector_.Pick(*this, elements_.size())];
}

void Oru_VectorListChannel::SetVector(D3DXVECTOR3 value) {
  if (elements_.empty()) return;
  elements_[selector_.Pick(*this, elements_.size())] = value;
}

bool Oru_VectorListChannel::SaveChannel(VelFileSaver& saver) {
  if (!Oru_VectorChannel::SaveChannel(saver)) return false;
  kestrine::BlockWriter block;
  block.PutU32(static_cast<std::uint32_t>(elements_.size()));
  for (const D3DXVECTOR3& v : elements_) {
    block.PutFloat(v.x);
    block.PutFloat(v.y);
    block.PutFloat(v.z);
  }
  saver.SaveBlock(kListTag, block.Bytes());
  return true;
}

bool Oru_VectorListChannel::LoadChannel(VelFileLoader& loader, Vel_ChannelGroup* group) {
  if (!Oru_VectorChannel::LoadChannel(loader, group)) return false;
  std::vector<unsigned char> data;
  if (!loader.GetInfoIfTag(kListTag) || !loader.CopyTagData(&data)) return false;
  kestrine::BlockReader reader(data);
  std::uint32_t count = 0;
  if (!reader.GetU32(&count) || count > reader.Remaining() / 12) return false;
  std::vector<D3DXVECTOR3> elements(count);
  for (D3DXVECTOR3& v : elements) {
    reader.GetFloat(&v.x);
    reader.GetFloat(&v.y);
    reader.GetFloat(&v.z);
  }
  elements_ = std::move(elements);
  return true;
}
