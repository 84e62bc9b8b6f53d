// Definitions of CommandChannelInterface<T>; included by its header.
#pragma once

#include <cstdio>
#include <cstring>
#include <vector>

#include "command_channel/FixedText.h"
#include "host/kestrine/ChannelKinds.h"
#include "host/kestrine/VelFileLoader.h"
#include "host/kestrine/VelFileSaver.h"
#include "host/kestrine/Vel_List.h"

namespace command_channel {
constexpr const char kNoPrefix[] = "NO_PREFIX_";
constexpr const char kZeroLengthPrefix[] = "ZERO_LENGTH_PREFIX_";
constexpr const char kTooLongPrefix[] = "TOO_LONG_PREFIX_";
constexpr const char kModeNameUndefined[] = "MODE_NAME_UNDEFINED";
constexpr const char kModeNameTooLong[] = "MODE_NAME_TOO_LONG";
constexpr const char kModeDescUndefined[] = "MODE_DESC_UNDEFINED";
constexpr const char kModeDescTooLong[] = "MODE_DESC_TOO_LONG";
constexpr const char kModeTag[] = "MODE";
constexpr std::size_t kMaxText = 127;
// A "MODE" block the loader reports is whole in the file; this only keeps
// size + 1 from wrapping where size_t is 32 bits.
constexpr std::size_t kMaxBlock = static_cast<std::size_t>(-1);
constexpr std::size_t kTypeNameField = sizeof(ChannelType::typeName);
constexpr std::size_t kChildNameField = sizeof(ChildCreation::childName);

// The text to store for `text`: a marker for empty or over-long texts.
inline const char* TextOrMarker(const char* text, const char* empty, const char* tooLong) {
  if (text[0] == '\0') return empty;
  if (LongerThan(text, kMaxText)) return tooLong;
  return text;
}
}  // namespace command_channel

template <class T>
CommandChannelInterface<T>::CommandChannelInterface() : Oru_FloatChannel(), commandValue(0.0f) {
  std::memset(currentModeName, 0, sizeof currentModeName);
  std::memset(prefix, 0, sizeof prefix);
  for (ChildInfo*& link : childInfos) link = nullptr;
  command_channel::CopyToField(prefix, sizeof prefix, command_channel::kNoPrefix);
  SetChildCreationCount(0);
}

template <class T>
CommandChannelInterface<T>::CommandChannelInterface(const CommandChannelInterface& other)
    : Oru_FloatChannel(other), modeTable(other.modeTable), commandValue(other.commandValue) {
  std::memcpy(prefix, other.prefix, sizeof prefix);
  std::memcpy(currentModeName, other.currentModeName, sizeof currentModeName);
  std::memcpy(childInfos, other.childInfos, sizeof childInfos);
}

template <class T>
CommandChannelInterface<T>& CommandChannelInterface<T>::operator=(
    const CommandChannelInterface& other) {
  if (this != &other) {
    Oru_FloatChannel::operator=(other);
    std::memcpy(prefix, other.prefix, sizeof prefix);
    std::memcpy(currentModeName, other.currentModeName, sizeof currentModeName);
    modeTable = other.modeTable;
    std::memcpy(childInfos, other.childInfos, sizeof childInfos);
    commandValue = other.commandValue;
  }
  return *this;
}

template <class T>
CommandChannelInterface<T>::~CommandChannelInterface() = default;

// --- persistence ---

template <class T>
bool CommandChannelInterface<T>::SaveChannel(VelFileSaver& saver) {
  if (!Vel_Channel::SaveChannel(saver)) return false;
  const unsigned long length = ::strnlen(currentModeName, command_channel::kMaxText);
  saver.SaveTag(command_channel::kModeTag);
  saver.SaveBlockSize(length);
  saver.SaveDataToFile(currentModeName, length);
  return true;
}

template <class T>
bool CommandChannelInterface<T>::LoadChannel(VelFileLoader& loader, Vel_ChannelGroup* group) {
  if (!Vel_Channel::LoadChannel(loader, group)) return false;
  char tag[] = "MODE";
  if (loader.GetInfoIfTag(tag)) {
    // Copy through a buffer of the block's own size, so that a block longer
    // than the field is cut instead of overflowing it.
    const std::size_t size = loader.GetTagDataSize();
    std::vector<char> block(size < command_channel::kMaxBlock ? size + 1 : 0, '\0');
    if (!block.empty() && loader.CopyTagDataToPointer(block.data())) {
      block.back() = '\0';
      const std::size_t length = block.size() - 1 < command_channel::kMaxText
                                     ? block.size() - 1
                                     : command_channel::kMaxText;
      std::memset(currentModeName, 0, sizeof currentModeName);
      std::memcpy(currentModeName, block.data(), length);
    }
  }
  InterceptExistingChildLinks();
  SetChildCreationCount(0);
  SetFloat(0.0f);
  CCI_CreateChildLinks();
  return true;
}

template <class T>
void CommandChannelInterface<T>::DoDependencyInit(Vel_List* dependencies) {
  AddChannelGuidDepend(kestrine::kValueGuid, dependencies);
}

// --- value ---

template <class T>
float CommandChannelInterface<T>::GetFloat() {
  return commandValue;
}

template <class T>
float CommandChannelInterface<T>::GetOldFloat() {
  return commandValue;
}

template <class T>
void CommandChannelInterface<T>::SetFloat(float value) {
  commandValue = value;
  Oru_FloatChannel::SetFloat(value);
}

template <class T>
void CommandChannelInterface<T>::CCI_SetReturnValue(unsigned int value) {
  SetFloat(static_cast<float>(value));
}

template <class T>
void CommandChannelInterface<T>::CCI_SetReturnValue(int value) {
  SetFloat(static_cast<float>(value));
}

template <class T>
void CommandChannelInterface<T>::CCI_SetReturnValue(float value) {
  SetFloat(value);
}

template <class T>
float CommandChannelInterface<T>::CCI_GetReturnValue() {
  return GetFloat();
}

// --- modes and naming ---

template <class T>
int CommandChannelInterface<T>::CCI_SetPrefix(const char* newPrefix) {
  if (newPrefix == nullptr) return 1;
  command_channel::CopyToField(
      prefix, sizeof prefix,
      command_channel::TextOrMarker(newPrefix, command_channel::kZeroLengthPrefix,
                                    command_channel::kTooLongPrefix));
  return 0;
}

template <class T>
int CommandChannelInterface<T>::CCI_AddMode(const char* name, const char* description) {
  if (name == nullptr || description == nullptr) return 1;
  ModeRecord record;
  command_channel::CopyToField(
      record.name, sizeof record.name,
      command_channel::TextOrMarker(name, command_channel::kModeNameUndefined,
                                    command_channel::kModeNameTooLong));
  command_channel::CopyToField(
      record.description, sizeof record.description,
      command_channel::TextOrMarker(description, command_channel::kModeDescUndefined,
                                    command_channel::kModeDescTooLong));
  modeTable.push_back(record);
  return 0;
}

template <class T>
int CommandChannelInterface<T>::CCI_SetMode(const char* description) {
  if (description == nullptr) return 1;
  const unsigned int modes = CCI_GetModes();
  if (modes == 0) return 1;
  const ModeRecord* match = nullptr;
  for (unsigned int i = 1; i <= modes; ++i) {
    if (std::strcmp(modeTable[i].description, description) == 0) {
      match = &modeTable[i];
      break;
    }
  }
  if (match == nullptr) return 1;
  if (std::strcmp(match->name, currentModeName) == 0) return 2;
  command_channel::CopyToField(currentModeName, sizeof currentModeName, match->name);
  char channelName[kTextFieldSize];
  command_channel::JoinToField(channelName, sizeof channelName, prefix, currentModeName);
  SetChannelName(channelName);
  SetFloat(0.0f);
  CCI_CreateChildLinks();
  return 0;
}

template <class T>
unsigned int CommandChannelInterface<T>::CCI_GetModes() {
  return modeTable.empty() ? 0u : static_cast<unsigned int>(modeTable.size() - 1);
}

template <class T>
const char* CommandChannelInterface<T>::GetPrefix() {
  return prefix;
}

template <class T>
const char* CommandChannelInterface<T>::GetCurrModeName() {
  return currentModeName;
}

template <class T>
const char* CommandChannelInterface<T>::GetModeName(unsigned int index) {
  return index < modeTable.size() ? modeTable[index].name : "";
}

template <class T>
const char* CommandChannelInterface<T>::GetModeDesc(unsigned int index) {
  return index < modeTable.size() ? modeTable[index].description : "";
}

template <class T>
int CommandChannelInterface<T>::IsCurrMode(const char* name) {
  return name != nullptr && std::strcmp(currentModeName, name) == 0 ? 1 : 0;
}

// --- child links ---

template <class T>
void CommandChannelInterface<T>::CCI_CreateChildLink(_GUID childType, const char* typeName,
                                                     unsigned int& index,
                                                     ChildCreation* creation,
                                                     const char* childName, int autoIncrement,
                                                     int linkFlag, int unindexed) {
  if (creation == nullptr) return;
  creation->type.typeGuid = childType;
  if (typeName == nullptr) return;
  command_channel::CopyToField(creation->type.typeName, command_channel::kTypeNameField,
                               typeName);
  creation->slotIndex = unindexed != 0 ? -1 : static_cast<std::int32_t>(index);
  if (childName != nullptr) {
    command_channel::CopyToField(creation->childName, command_channel::kChildNameField,
                                 childName);
  }
  creation->linkFlag = static_cast<std::uint8_t>(linkFlag & 0xFF);
  creation->hasExistingLink = 0;
  if (index < kLinkSlots && childInfos[index] != nullptr) {
    creation->existingLink = childInfos[index];
    creation->hasExistingLink = 1;
  }
  SetChildCreateType(*creation, static_cast<int>(index));
  if (autoIncrement != 0) ++index;
}

template <class T>
void CommandChannelInterface<T>::CCI_CreateGenericChildLink(unsigned int& index,
                                                            ChildCreation* creation,
                                                            const char* childName,
                                                            int autoIncrement, int linkFlag,
                                                            int unindexed) {
  CCI_CreateChildLink(kestrine::kAnyTypeGuid, kestrine::kAnyTypeName, index, creation, childName,
                      autoIncrement, linkFlag, unindexed);
}

template <class T>
void CommandChannelInterface<T>::CCI_CreateValueChildLink(unsigned int& index,
                                                          ChildCreation* creation,
                                                          const char* childName,
                                                          int autoIncrement, int linkFlag,
                                                          int unindexed) {
  CCI_CreateChildLink(kestrine::kValueGuid, kestrine::kValueTypeName, index, creation, childName,
                      autoIncrement, linkFlag, unindexed);
}

template <class T>
void CommandChannelInterface<T>::CCI_CreateVectorChildLink(unsigned int& index,
                                                           ChildCreation* creation,
                                                           const char* childName,
                                                           int autoIncrement, int linkFlag,
                                                           int unindexed) {
  CCI_CreateChildLink(kestrine::kValueVectorGuid, kestrine::kValueVectorTypeName, index,
                      creation, childName, autoIncrement, linkFlag, unindexed);
}

template <class T>
void CommandChannelInterface<T>::CCI_CreateStringChildLink(unsigned int& index,
                                                           ChildCreation* creation,
                                                           const char* childName,
                                                           int autoIncrement, int linkFlag,
                                                           int unindexed) {
  CCI_CreateChildLink(kestrine::kTextGuid, kestrine::kTextTypeName, index, creation, childName,
                      autoIncrement, linkFlag, unindexed);
}

template <class T>
void CommandChannelInterface<T>::CCI_CreateMatrixChildLink(unsigned int& index,
                                                           ChildCreation* creation,
                                                           const char* childName,
                                                           int autoIncrement, int linkFlag,
                                                           int unindexed) {
  CCI_CreateChildLink(kestrine::kMatrixGuid, kestrine::kMatrixTypeName, index, creation,
                      childName, autoIncrement, linkFlag, unindexed);
}

template <class T>
void CommandChannelInterface<T>::InterceptExistingChildLinks() {
  for (unsigned int i = 0; i < kLinkSlots; ++i) childInfos[i] = GetChildInfo(static_cast<int>(i));
}

// --- mode selection list ---

template <class T>
void CommandChannelInterface<T>::FillModesList(HWND& box) {
  const unsigned int modes = CCI_GetModes();
  if (modes == 0) return;
  for (unsigned int i = 1; i <= modes; ++i) {
    char text[kTextFieldSize];
    std::snprintf(text, sizeof text, "%s", modeTable[i].description);
    SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  }
  for (unsigned int i = 1; i <= modes; ++i) {
    if (std::strcmp(modeTable[i].name, currentModeName) == 0) {
      SendMessageA(box, CB_SETCURSEL, static_cast<WPARAM>(i - 1), 0);
    }
  }
}

template <class T>
int CommandChannelInterface<T>::SetNewMode(HWND& box) {
  const LRESULT position = SendMessageA(box, CB_GETCURSEL, 0, 0);
  char text[kTextFieldSize];
  std::memset(text, 0, sizeof text);
  // The text is asked for only when the control has vouched for a length
  // that fits: after CB_ERR (no selection, no such item) a foreign control
  // might still write, and nothing bounds what it writes.
  const LRESULT length = SendMessageA(box, CB_GETLBTEXTLEN, static_cast<WPARAM>(position), 0);
  if (length >= 0 && length <= static_cast<LRESULT>(command_channel::kMaxText)) {
    SendMessageA(box, CB_GETLBTEXT, static_cast<WPARAM>(position),
                 reinterpret_cast<LPARAM>(text));
    text[sizeof text - 1] = '\0';
  }
  return CCI_SetMode(text);
}
