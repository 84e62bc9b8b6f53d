// A small concrete command that drives the command channel template in the
// tests: a placeholder and three modes, each declaring other child slots.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "command_channel/CommandChannelInterface.h"

class TestCommand : public CommandChannelInterface<TestCommand> {
 public:
  // "Gamma" is selected by its description "Third mode", the others by their names.
  void AddStandardModes() {
    CCI_AddMode("Undefined", "placeholder");
    CCI_AddMode("Alpha", "Alpha");
    CCI_AddMode("Beta", "Beta");
    CCI_AddMode("Gamma", "Third mode");
  }
  static auto CreateChildLinksMember() { return &TestCommand::CCI_CreateChildLinks; }
  using CommandChannelInterface<TestCommand>::childInfos;
  using CommandChannelInterface<TestCommand>::currentModeName;
  int createChildLinksCalls = 0;

 protected:
  // "Alpha": Value, Value Vector. "Beta": any type, Value, Value Vector,
  // Text, Matrix. Any other mode: no slots.
  void CCI_CreateChildLinks() override {
    ++createChildLinksCalls;
    ChildCreation creation;
    SetChildCreationCount(0);
    unsigned int index = 0;
    const bool beta = std::strcmp(currentModeName, "Beta") == 0;
    if (beta) CCI_CreateGenericChildLink(index, &creation, "Anything", 1, 1, 0);
    if (beta || std::strcmp(currentModeName, "Alpha") == 0) {
      CCI_CreateValueChildLink(index, &creation, "Amount", 1, 1, 0);
      CCI_CreateVectorChildLink(index, &creation, "Where", 1, 1, 0);
    }
    if (beta) CCI_CreateStringChildLink(index, &creation, "Label", 1, 1, 0);
    if (beta) CCI_CreateMatrixChildLink(index, &creation, "Pose", 1, 1, 0);
  }
};
