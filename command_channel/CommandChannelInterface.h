// A command channel: the host's float channel turned into a channel with a
// table of named modes, one of which may be current. Selecting a mode
// renames the channel to prefix + mode name, resets its value to 0 and has
// the concrete command declare that mode's child slots. The current mode is
// saved with the channel ("MODE" block) and restored on load, taking over
// the links the channel had. The channel's float value doubles as the
// command's return value.
//
// Status codes of the int operations: 0 done, 1 refused or not found,
// 2 already current. Texts live in 128-byte fields (at most 127 characters)
// and compare exactly, byte for byte. Entry 0 of the mode table is a
// placeholder: never counted, listed or selected.
//
// T is the concrete command deriving from this template; the template
// reaches it only through the virtual CCI_CreateChildLinks.
#pragma once

#include <vector>

#include "command_channel/ModeRecord.h"
#include "host/kestrine/ChildCreation.h"
#include "host/kestrine/ChildInfo.h"
#include "host/kestrine/Guid.h"
#include "host/kestrine/Oru_FloatChannel.h"
#include "host/windows/WindowsMessages.h"

class VelFileSaver;
class VelFileLoader;
class Vel_ChannelGroup;
class Vel_List;

template <class T>
class CommandChannelInterface : public Oru_FloatChannel {
 public:
  static constexpr unsigned int kTextFieldSize = 128;
  static constexpr unsigned int kLinkSlots = 64;

  // Prefix "NO_PREFIX_", no mode, no current mode, value 0, no links taken
  // over; tells the host the channel has no child slots.
  CommandChannelInterface();
  // Member by member; the mode table is copied deeply, the taken-over link
  // pointers as plain values.
  CommandChannelInterface(const CommandChannelInterface& other);
  CommandChannelInterface& operator=(const CommandChannelInterface& other);
  ~CommandChannelInterface() override;

  // --- persistence (slots 5, 6) ---
  // The host's own data, then the "MODE" block: tag "MODE", the length n of
  // the current mode name, its n characters without terminator.
  bool SaveChannel(VelFileSaver& saver) override;
  // The host's own data, then the "MODE" block if there is one (a block of
  // more than 127 characters is cut to its first 127), then takes over the
  // existing links, clears the slots, resets the value and has the command
  // declare the restored mode's slots. The name is not checked against the
  // mode table.
  bool LoadChannel(VelFileLoader& loader, Vel_ChannelGroup* group) override;
  // Slot 11: depends on the "Value" channel type.
  void DoDependencyInit(Vel_List* dependencies) override;

  // --- value (slots 20 to 22) ---
  float GetFloat() override;     // the command value
  float GetOldFloat() override;  // the same: no previous value is kept
  void SetFloat(float value) override;  // also tells the host's float channel

  // --- modes and naming ---
  // 1 for null (unchanged); "" becomes "ZERO_LENGTH_PREFIX_", more than 127
  // characters "TOO_LONG_PREFIX_"; 0 otherwise. Used at the next switch.
  int CCI_SetPrefix(const char* prefix);
  // Appends a mode. 1 when either text is null (nothing added). An empty or
  // over-long name or description is replaced by "MODE_NAME_UNDEFINED",
  // "MODE_NAME_TOO_LONG", "MODE_DESC_UNDEFINED" or "MODE_DESC_TOO_LONG".
  int CCI_AddMode(const char* name, const char* description);
  // Makes current the first mode (index 1 up) whose description equals the
  // argument: 0 switched, 1 no such mode, 2 already current. A switch names
  // the channel prefix + mode name (cut to 127 characters when longer),
  // sets the value to 0 and calls CCI_CreateChildLinks. A null argument is
  // a caller error and gives 1.
  int CCI_SetMode(const char* description);
  // Number of selectable modes: the table size minus the placeholder.
  unsigned int CCI_GetModes();
  const char* GetPrefix();
  // "" until a mode is selected or loaded.
  const char* GetCurrModeName();
  // Name or description of table entry `index` (0 is the placeholder). An
  // index beyond the table is a caller error and gives "".
  const char* GetModeName(unsigned int index);
  const char* GetModeDesc(unsigned int index);
  // 1 when `name` equals the current mode name, else 0 (also for null).
  int IsCurrMode(const char* name);

  // --- child links ---
  // Declares one child slot to the host with the shared record `creation`,
  // at the caller's running `index`: writes the type GUID, then (unless
  // typeName is null, which ends the call) the type name, the slot index
  // (-1 when `unindexed`), the child name (when given), the low byte of
  // `linkFlag` and the link taken over for that index, if any; declares it
  // and advances `index` when `autoIncrement`. Texts longer than their
  // fields (79 and 99 characters) are cut; fields are zero-filled after the
  // text. Indices of 64 and more never take over a link.
  void CCI_CreateChildLink(_GUID childType, const char* typeName, unsigned int& index,
                           ChildCreation* creation, const char* childName, int autoIncrement,
                           int linkFlag, int unindexed);
  // The same for one fixed kind each: any type, "Value", "Value Vector",
  // "Text", "Matrix".
  void CCI_CreateGenericChildLink(unsigned int& index, ChildCreation* creation,
                                  const char* childName, int autoIncrement, int linkFlag,
                                  int unindexed);
  void CCI_CreateValueChildLink(unsigned int& index, ChildCreation* creation,
                                const char* childName, int autoIncrement, int linkFlag,
                                int unindexed);
  void CCI_CreateVectorChildLink(unsigned int& index, ChildCreation* creation,
                                 const char* childName, int autoIncrement, int linkFlag,
                                 int unindexed);
  void CCI_CreateStringChildLink(unsigned int& index, ChildCreation* creation,
                                 const char* childName, int autoIncrement, int linkFlag,
                                 int unindexed);
  void CCI_CreateMatrixChildLink(unsigned int& index, ChildCreation* creation,
                                 const char* childName, int autoIncrement, int linkFlag,
                                 int unindexed);

  // --- return value ---
  void CCI_SetReturnValue(unsigned int value);  // as an unsigned number, nearest float
  void CCI_SetReturnValue(int value);
  void CCI_SetReturnValue(float value);
  float CCI_GetReturnValue();

  // --- mode selection list (a combo box the caller owns, empty, unsorted) ---
  // Adds every selectable mode's description in table order, then selects
  // the current mode's position. Sends nothing when there is no mode.
  void FillModesList(HWND& box);
  // Selects the mode whose description is picked in the box; the result of
  // CCI_SetMode. Sends CB_GETCURSEL, then CB_GETLBTEXTLEN for that position
  // (one message more than the text needs: it guards the 128-byte buffer),
  // then CB_GETLBTEXT only when that length is 0 to 127. CB_ERR (no
  // selection, no such item) or a longer item sends no CB_GETLBTEXT: the
  // text stays empty, which no mode bears, so the result is then 1.
  int SetNewMode(HWND& box);

 protected:
  // Slot 27: the concrete command declares the current mode's child slots.
  virtual void CCI_CreateChildLinks() = 0;

  char prefix[kTextFieldSize];
  char currentModeName[kTextFieldSize];
  std::vector<ModeRecord> modeTable;
  ChildInfo* childInfos[kLinkSlots];
  float commandValue;

 private:
  // Records, for slots 0 to 63, the link the host has attached there now.
  void InterceptExistingChildLinks();
};

#include "command_channel/CommandChannelInterface-inl.h"
