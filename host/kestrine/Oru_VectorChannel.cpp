#include "host/kestrine/Oru_VectorChannel.h"

#include "host/kestrine/BlockCodec.h"
#include "host/kestrine/StandardChannelTypes.h"
#include "host/kestrine/VelFileLoader.h"
#include "host/kestrine/VelFileSaver.h"

namespace {
constexpr char kVectorTag[] = "VVEC";
}

Oru_VectorChannel::Oru_VectorChannel() {
  Vel_Channel::SetChannelInterfaceType(&kestrine::ValueVectorChannelType());
}

Oru_VectorChannel::~Oru_VectorChannel() = default;

D3DXVECTOR3 Oru_VectorChannel::GetVector() { return value_; }
void Oru_VectorChannel::SetVector(D3DXVECTOR3 value) { value_ = value; }

bool Oru_VectorChannel::SaveChannel(VelFileSaver& saver) {
  if (!Vel_Channel::SaveChannel(saver)) return false;
  kestrine::BlockWriter block;
  block.PutFloat(value_.x);
  block.PutFloat(value_.y);
  block.PutFloat(value_.z);
  saver.SaveBlock(kVectorTag, block.Bytes());
  return true;
}

bool Oru_VectorChannel::LoadChannel(VelFileLoader& loader, Vel_ChannelGroup* group) {
  if (!Vel_Channel::LoadChannel(loader, group)) return false;
  std::vector<unsigned char> data;
  if (!loader.GetInfoIfTag(kVectorTag) || !loader.CopyTagData(&data)) return false;
  kestrine::BlockReader reader(data);
  D3DXVECTOR3 v;
  if (!reader.GetFloat(&v.x) || !reader.GetFloat(&v.y) || !reader.GetFloat(&v.z)) return false;
  value_ = v;
  return true;
}
