// The two functions through which the host learns and creates the module's
// channel type. Exported under their plain C names.
#pragma once

#include "host/kestrine/ChannelType.h"

class VistrelCommand;

extern "C" {
// The channel type record ("VistrelCommand", its GUID), refilled on every
// call; always the same address. Callable any number of times, before and
// after InitDLL.
ChannelType* GetType();
// A new VistrelCommand, allocated with the module's allocator; the host owns
// it and destroys it through its virtual destructor. An allocation failure
// reaches the caller as std::bad_alloc.
VistrelCommand* InitDLL();
}

// Signatures the host resolves the exports to.
using GetTypeFunction = ChannelType* (*)();
using InitDllFunction = VistrelCommand* (*)();
