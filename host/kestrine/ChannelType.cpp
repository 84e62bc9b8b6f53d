#include "host/kestrine/ChannelType.h"

#include <cstring>

ChannelType::ChannelType() {
  std::memset(typeName, 0, sizeof typeName);
  std::memset(&typeGuid, 0, sizeof typeGuid);
  std::memset(&secondGuid, 0, sizeof secondGuid);
  sdkVersion = kKestrineSdkVersion;
  registryIndex = -1;
  typeCode = 0;
  hostFlags = kKestrineDefaultTypeFlags;
  typeOption = 0;
}
