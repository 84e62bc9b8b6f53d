// The host's record of one child-slot declaration, handed to
// Vel_Channel::SetChildCreateType by value. Its first 132 bytes are a
// ChannelType; the layout is fixed up to `existingLink` (checked below).
// Where pointers are 8 bytes the record grows after offset 256.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/kestrine/ChannelType.h"
#include "host/kestrine/KestrineExport.h"

struct ChildInfo;

struct KESTRINE_API ChildCreation {
  ChannelType type;          // typeName / typeGuid: the kind the slot accepts
  std::int32_t slotIndex;    // -1 for an unindexed slot
  std::uint8_t hasExistingLink;  // 1 when `existingLink` belongs to this declaration
  std::uint8_t linkFlag;
  char childName[100];       // zero-terminated name shown for the slot
  std::uint8_t alignment[2];
  _GUID extraGuid;
  ChildInfo* existingLink;   // a link to re-attach, when hasExistingLink is 1
  std::int32_t creationOption;

  // Defaults: the ChannelType part as ChannelType() leaves it, but with both
  // GUIDs set to the any-type GUID; slotIndex -1; no link; empty name;
  // extraGuid zero; creationOption 1.
  ChildCreation();
};

static_assert(offsetof(ChildCreation, type) == 0, "ChannelType part at 0");
static_assert(offsetof(ChildCreation, slotIndex) == 132, "slotIndex at 132");
static_assert(offsetof(ChildCreation, hasExistingLink) == 136, "hasExistingLink at 136");
static_assert(offsetof(ChildCreation, linkFlag) == 137, "linkFlag at 137");
static_assert(offsetof(ChildCreation, childName) == 138, "childName at 138");
static_assert(offsetof(ChildCreation, extraGuid) == 240, "extraGuid at 240");
static_assert(offsetof(ChildCreation, existingLink) == 256, "existingLink at 256");
// The engine's 32-bit layout: creationOption at 260, 264 bytes in all. With
// 8-byte pointers: creationOption at 264, 272 bytes.
static_assert(sizeof(void*) == 4 || sizeof(void*) == 8, "pointers of 4 or 8 bytes");
static_assert(offsetof(ChildCreation, creationOption) == (sizeof(void*) == 4 ? 260 : 264),
              "creationOption right after the pointer");
static_assert(sizeof(ChildCreation) == (sizeof(void*) == 4 ? 264 : 272),
              "ChildCreation is 264 bytes with 4-byte pointers, 272 with 8-byte ones");
