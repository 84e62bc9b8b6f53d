#include "host/kestrine/Oru_FloatChannel.h"

#include "host/kestrine/BlockCodec.h"
#include "host/kestrine/StandardChannelTypes.h"
#include "host/kestrine/VelFileLoader.h"
#include "host/kestrine/VelFileSaver.h"

namespace {
constexpr char kValueTag[] = "FVAL";
}

Oru_FloatChannel::Oru_FloatChannel() {
  Vel_Channel::SetChannelInterfaceType(&kestrine::ValueChannelType());
}

Oru_FloatChannel::~Oru_FloatChannel() = default;

float Oru_FloatChannel::GetFloat() { return value_; }
float Oru_FloatChannel::GetOldFloat() { return oldValue_; }
void Oru_FloatChannel::SetFloat(float value) {
  oldValue_ = value_;
  value_ = value;
}
float Oru_FloatChannel::GetDefaultFloat() { return defaultValue_; }
void Oru_FloatChannel::SetDefaultFloat(float value) { defaultValue_ = value; }
int Oru_FloatChannel::GetDefaultFloatSetting() { return defaultSetting_; }
void Oru_FloatChannel::SetDefaultFloatSetting(int setting) { defaultSetting_ = setting; }

bool Oru_FloatChannel::SaveChannel(VelFileSaver& saver) {
  if (!Vel_Channel::SaveChannel(saver)) return false;
  kestrine::BlockWriter block;
  block.PutFloat(value_);
  block.PutFloat(defaultValue_);
  block.PutI32(defaultSetting_);
  saver.SaveBlock(kValueTag, block.Bytes());
  return true;
}

bool Oru_FloatChannel::LoadChannel(VelFileLoader& loader, Vel_ChannelGroup* group) {
  if (!Vel_Channel::LoadChannel(loader, group)) return false;
  std::vector<unsigned char> data;
  if (!loader.GetInfoIfTag(kValueTag) || !loader.CopyTagData(&data)) return false;
  kestrine::BlockReader reader(data);
  float value, defaultValue;
  std::int32_t setting;
  if (!reader.GetFloat(&value) || !reader.GetFloat(&defaultValue) || !reader.GetI32(&setting)) {
    return false;
  }
  value_ = oldValue_ = value;
  defaultValue_ = defaultValue;
  defaultSetting_ = setting;
  return true;
}
