// Loads the built module once per test, as the engine does.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "host/module_loader/VistrelModule.h"

class LoadedModule : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    module = VistrelModule::Load(VISTREL_MODULE_PATH, &error);
    ASSERT_NE(module, nullptr) << error;
  }
  std::unique_ptr<VistrelModule> module;
};
