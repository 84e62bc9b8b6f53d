// The module's type record.
#include <cstring>

#include <vector>

#include "host/kestrine/ChannelType.h"
#include "tests/plugin/ModuleFixture.h"

namespace {

using TypeRecord = LoadedModule;

std::vector<unsigned char> Bytes(const void* record) {
  const auto* p = static_cast<const unsigned char*>(record);
  return std::vector<unsigned char>(p, p + sizeof(ChannelType));
}

TEST_F(TypeRecord, EveryCallRefillsTheSameRecordAndLeavesOnlyTheHostsBytes) {
  ChannelType* record = module->GetType();
  EXPECT_EQ(record->sdkVersion, kKestrineSdkVersion);  // as the host's constructor left them
  EXPECT_EQ(record->hostFlags, kKestrineDefaultTypeFlags);
  const std::vector<unsigned char> first = Bytes(record);
  std::memset(static_cast<void*>(record), 0x5A, sizeof(ChannelType));  // scribble over it all
  EXPECT_EQ(module->GetType(), record);
  std::vector<unsigned char> expected(sizeof(ChannelType), 0x5A);  // host-owned: 112-119, 124-127
  std::memset(expected.data(), 0, 80);
  std::memcpy(expected.data(), "VistrelCommand", 14);  // then zeros up to byte 79
  // {26547F2A-6E47-47DF-8DE9-2C6697FED046}, little-endian words, twice.
  const unsigned char guid[16] = {0x2A, 0x7F, 0x54, 0x26, 0x47, 0x6E, 0xDF, 0x47,
                                  0x8D, 0xE9, 0x2C, 0x66, 0x97, 0xFE, 0xD0, 0x46};
  std::memcpy(expected.data() + 80, guid, 16);
  std::memcpy(expected.data() + 96, guid, 16);
  std::memcpy(expected.data() + 120, "\x07\0\0\0", 4);  // typeCode 7, little-endian
  std::memset(expected.data() + 128, 0, 4);             // typeOption 0
  EXPECT_EQ(Bytes(record), expected);
  std::memcpy(static_cast<void*>(record), first.data(), sizeof(ChannelType));  // as loaded
}

}  // namespace
