// The root of every object that a module hands to the host: the host
// destroys it through this virtual destructor (slot 0), which releases the
// memory with the module's own allocator.
#pragma once

#include "host/kestrine/KestrineExport.h"

class KESTRINE_API DllInterface {
 public:
  virtual ~DllInterface();  // slot 0

 protected:
  DllInterface() = default;
  DllInterface(const DllInterface&) = default;
  DllInterface& operator=(const DllInterface&) = default;
};
