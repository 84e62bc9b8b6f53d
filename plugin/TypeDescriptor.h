// The module's one channel type record, shared with the host: built once
// when the module is loaded, refilled by every GetType call.
#pragma once

#include "host/kestrine/ChannelType.h"

// {26547F2A-6E47-47DF-8DE9-2C6697FED046}
constexpr _GUID kVistrelCommandTypeGuid = {0x26547F2A, 0x6E47, 0x47DF,
                                           {0x8D, 0xE9, 0x2C, 0x66, 0x97, 0xFE, 0xD0, 0x46}};
constexpr char kVistrelCommandTypeName[] = "VistrelCommand";

extern ChannelType typeDescriptor;

// Writes the type name (cut to 78 characters, zeros up to byte 79), both
// GUIDs, typeCode 7 and typeOption 0; the host-owned bytes 112 to 119 and
// 124 to 127 are left as they are.
void FillTypeDescriptor(ChannelType& record);
