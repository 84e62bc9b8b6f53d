#include "plugin/TypeDescriptor.h"

#include <cstring>

ChannelType typeDescriptor;

void FillTypeDescriptor(ChannelType& record) {
  constexpr std::size_t kNameBound = 79;  // bytes, terminator included
  std::memset(record.typeName, 0, sizeof record.typeName);
  std::strncpy(record.typeName, kVistrelCommandTypeName, kNameBound - 1);
  record.typeGuid = kVistrelCommandTypeGuid;
  record.secondGuid = kVistrelCommandTypeGuid;
  record.typeCode = 7;
  record.typeOption = 0;
}
