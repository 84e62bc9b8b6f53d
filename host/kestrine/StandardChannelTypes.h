// The channel types that the host itself provides, and their registration
// with a group. Each type names, in secondGuid, the kind it presents to
// child slots: the lists present themselves as "Value" and "Value Vector".
#pragma once

#include "host/kestrine/ChannelType.h"
#include "host/kestrine/KestrineExport.h"

class Vel_ChannelGroup;

namespace kestrine {

// {7C1E5B2A-3F4D-4E8B-9A61-2D5C8E0F1A01}
constexpr _GUID kValueListGuid = {0x7C1E5B2A, 0x3F4D, 0x4E8B,
                                  {0x9A, 0x61, 0x2D, 0x5C, 0x8E, 0x0F, 0x1A, 0x01}};
// {7C1E5B2A-3F4D-4E8B-9A61-2D5C8E0F1A02}
constexpr _GUID kValueVectorListGuid = {0x7C1E5B2A, 0x3F4D, 0x4E8B,
                                        {0x9A, 0x61, 0x2D, 0x5C, 0x8E, 0x0F, 0x1A, 0x02}};

KESTRINE_API const ChannelType& ValueChannelType();             // "Value"
KESTRINE_API const ChannelType& ValueVectorChannelType();       // "Value Vector"
KESTRINE_API const ChannelType& ValueListChannelType();         // "Value List"
KESTRINE_API const ChannelType& ValueVectorListChannelType();   // "Value Vector List"

// Registers the four types above with their factories.
KESTRINE_API void RegisterStandardChannelTypes(Vel_ChannelGroup& group);

}  // namespace kestrine
