// The module's entry points: the type record and new instances.
#include <cstring>
#include <memory>
#include <set>
#include <vector>

#include "host/kestrine/ChannelType.h"
#include "tests/plugin/ModuleFixture.h"

namespace {

std::vector<unsigned char> Bytes(const ChannelType* record) {
  const auto* p = reinterpret_cast<const unsigned char*>(record);
  return std::vector<unsigned char>(p, p + sizeof(ChannelType));
}

using TypeRecord = LoadedModule;

TEST_F(TypeRecord, NamesTheCommandWithItsGuidCodeAndOption) {
  const ChannelType* record = module->GetType();
  const std::vector<unsigned char> bytes = Bytes(record);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data())), "VistrelCommand");
  for (std::size_t i = std::strlen("VistrelCommand"); i < 80; ++i) ASSERT_EQ(bytes[i], 0) << i;
  // {26547F2A-6E47-47DF-8DE9-2C6697FED046}, little-endian words, twice.
  const unsigned char guid[16] = {0x2A, 0x7F, 0x54, 0x26, 0x47, 0x6E, 0xDF, 0x47,
                                  0x8D, 0xE9, 0x2C, 0x66, 0x97, 0xFE, 0xD0, 0x46};
  EXPECT_EQ(std::memcmp(bytes.data() + 80, guid, 16), 0);
  EXPECT_EQ(std::memcmp(bytes.data() + 96, guid, 16), 0);
  EXPECT_EQ(record->typeCode, 7);
  EXPECT_EQ(record->typeOption, 0);
}

TEST_F(TypeRecord, EveryCallRefillsTheSameRecordAndLeavesTheHostsBytes) {
  ChannelType* record = module->GetType();
  // What the host's constructor put there at load.
  EXPECT_EQ(record->sdkVersion, kKestrineSdkVersion);
  EXPECT_EQ(record->hostFlags, kKestrineDefaultTypeFlags);
  const std::vector<unsigned char> first = Bytes(record);

  // Scribble over everything; the host-owned bytes must survive a refill.
  std::memset(static_cast<void*>(record), 0x5A, sizeof(ChannelType));
  EXPECT_EQ(module->GetType(), record);
  const std::vector<unsigned char> second = Bytes(record);
  for (std::size_t i = 0; i < sizeof(ChannelType); ++i) {
    const bool hostOwned = (i >= 112 && i < 120) || (i >= 124 && i < 128);
    EXPECT_EQ(second[i], hostOwned ? 0x5A : first[i]) << i;
  }
  std::memcpy(static_cast<void*>(record), first.data(), sizeof(ChannelType));  // the module stays loaded
}

TEST_F(TypeRecord, EachInitDllIsANewCommandWithNoModeAndItsPrefix) {
  std::set<Oru_FloatChannel*> seen;
  std::vector<std::unique_ptr<Oru_FloatChannel>> commands;
  for (int i = 0; i < 3; ++i) {
    commands.emplace_back(module->InitDLL());
    Oru_FloatChannel* command = commands.back().get();
    EXPECT_TRUE(seen.insert(command).second);
    EXPECT_STREQ(module->GetCurrModeName(command), "");
    EXPECT_STREQ(module->GetPrefix(command), "VLCC_");
    EXPECT_STREQ(command->GetChannelName(), "VistrelCommand");
    EXPECT_TRUE(command->GetDeclaredSlotIndices().empty());
    EXPECT_EQ(module->CCI_GetModes(command), 3u);
  }
  commands.clear();  // destroyed through the virtual destructor, inside the module
}

}  // namespace
