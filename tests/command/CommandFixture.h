// A VistrelCommand in a group of the host stand-in, with helpers to connect
// fresh value and vector channels to its slots.
#pragma once

#include <gtest/gtest.h>

#include <cstring>

#include "command/VistrelCommand.h"
#include "host/kestrine/ChannelKinds.h"
#include "host/kestrine/Oru_FloatChannel.h"
#include "host/kestrine/Oru_VectorChannel.h"
#include "host/kestrine/StandardChannelTypes.h"
#include "host/kestrine/Vel_ChannelGroup.h"

// The command's protected parts, opened for the tests.
class TestableVistrelCommand : public VistrelCommand {
 public:
  using VistrelCommand::currentModeName;
};

class CommandInGroup : public ::testing::Test {
 protected:
  static constexpr _GUID kCommandGuid = {0x26547F2A, 0x6E47, 0x47DF,
                                         {0x8D, 0xE9, 0x2C, 0x66, 0x97, 0xFE, 0xD0, 0x46}};

  void SetUp() override {
    kestrine::RegisterStandardChannelTypes(group);
    ChannelType type;
    std::strcpy(type.typeName, "VistrelCommand");
    type.typeGuid = type.secondGuid = kCommandGuid;
    group.RegisterType(type, [] { return new TestableVistrelCommand; });
    command = static_cast<TestableVistrelCommand*>(group.CreateChannel(kCommandGuid));
  }
  // Connects a new "Value" channel holding `value` at `slot`.
  Oru_FloatChannel* ConnectValue(int slot, float value) {
    auto* child = static_cast<Oru_FloatChannel*>(group.CreateChannel(kestrine::kValueGuid));
    child->SetFloat(value);
    EXPECT_TRUE(command->ConnectChild(slot, child)) << slot;
    return child;
  }
  // Connects a new "Value Vector" channel holding `value` at `slot`.
  Oru_VectorChannel* ConnectVector(int slot, D3DXVECTOR3 value) {
    auto* child = static_cast<Oru_VectorChannel*>(group.CreateChannel(kestrine::kValueVectorGuid));
    child->SetVector(value);
    EXPECT_TRUE(command->ConnectChild(slot, child)) << slot;
    return child;
  }

  Vel_ChannelGroup group;
  TestableVistrelCommand* command = nullptr;
};
