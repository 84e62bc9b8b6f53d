#include "host/kestrine/StandardChannelTypes.h"

#include <cstring>

#include "host/kestrine/ChannelKinds.h"
#include "host/kestrine/Oru_FloatChannel.h"
#include "host/kestrine/Oru_FloatListChannel.h"
#include "host/kestrine/Oru_VectorChannel.h"
#include "host/kestrine/Oru_VectorListChannel.h"
#include "host/kestrine/Vel_ChannelGroup.h"

namespace kestrine {
namespace {

ChannelType MakeType(const char* name, const _GUID& type, const _GUID& presents) {
  ChannelType record;
  std::strncpy(record.typeName, name, sizeof record.typeName - 1);
  record.typeGuid = type;
  record.secondGuid = presents;
  return record;
}

}  // namespace

const ChannelType& ValueChannelType() {
  static const ChannelType type = MakeType(kValueTypeName, kValueGuid, kValueGuid);
  return type;
}

const ChannelType& ValueVectorChannelType() {
  static const ChannelType type =
      MakeType(kValueVectorTypeName, kValueVectorGuid, kValueVectorGuid);
  return type;
}

const ChannelType& ValueListChannelType() {
  static const ChannelType type = MakeType("Value List", kValueListGuid, kValueGuid);
  return type;
}

const ChannelType& ValueVectorListChannelType() {
  static const ChannelType type =
      MakeType("Value Vector List", kValueVectorListGuid, kValueVectorGuid);
  return type;
}

void RegisterStandardChannelTypes(Vel_ChannelGroup& group) {
  group.RegisterType(ValueChannelType(), [] { return new Oru_FloatChannel(); });
  group.RegisterType(ValueVectorChannelType(), [] { return new Oru_VectorChannel(); });
  group.RegisterType(ValueListChannelType(), [] { return new Oru_FloatListChannel(); });
  group.RegisterType(ValueVectorListChannelType(), [] { return new Oru_VectorListChannel(); });
}

}  // namespace kestrine
