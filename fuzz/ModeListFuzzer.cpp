// The command framework's texts and mode list against a hostile combo box whose
// answers come from the input (after CB_ERR it writes texts of any length).
// Properties: the 128-byte fields stay terminated, a switch names the channel
// prefix + mode (cut to 127), every status is 0, 1 or 2, no overrun (ASan).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "command_channel/CommandChannelInterface.h"
#include "fuzz/FuzzSupport.h"

namespace {

FuzzedDataProvider* control = nullptr;  // the hostile control's answers
LRESULT claimedLength = CB_ERR;         // its last CB_GETLBTEXTLEN answer

// A command whose modes declare one "Value" slot each, so that switching
// exercises the link hand-over too.
class FuzzCommand : public CommandChannelInterface<FuzzCommand> {
 protected:
  void CCI_CreateChildLinks() override {
    ChildCreation creation;
    SetChildCreationCount(0);
    unsigned int index = 0;
    if (currentModeName[0] != '\0') CCI_CreateValueChildLink(index, &creation, "Amount", 1, 1, 0);
  }
};

std::string AnyText(FuzzedDataProvider& data) {
  return data.ConsumeRandomLengthString(data.ConsumeBool() ? 140 : 20);
}

void CheckFields(FuzzCommand& command) {
  fuzz::Require(::strnlen(command.GetPrefix(), 128) < 128, "the prefix stays terminated");
  fuzz::Require(::strnlen(command.GetCurrModeName(), 128) < 128,
                "the current mode name stays terminated");
  fuzz::Require(std::strlen(command.GetChannelName()) <= 127, "a channel name of 127 at most");
}

}  // namespace

// The control, in place of the stand-in's: answers from the input.
extern "C" LRESULT SendMessageA(HWND, UINT message, WPARAM, LPARAM lParam) {
  FuzzedDataProvider& data = *control;
  switch (message) {
    case CB_GETCURSEL:
      return data.ConsumeBool() ? CB_ERR : data.ConsumeIntegralInRange<LRESULT>(-3, 300);
    case CB_GETLBTEXTLEN:
      claimedLength = data.ConsumeBool() ? CB_ERR : data.ConsumeIntegralInRange<LRESULT>(-3, 300);
      return claimedLength;
    case CB_GETLBTEXT: {
      // Honest about a length it gave; after CB_ERR, anything up to 4000.
      const std::size_t length = claimedLength >= 0
                                     ? static_cast<std::size_t>(claimedLength)
                                     : data.ConsumeIntegralInRange<std::size_t>(0, 4000);
      std::string text = data.ConsumeBytesAsString(length);
      text.resize(length, 'x');
      std::memcpy(reinterpret_cast<char*>(lParam), text.c_str(), length + 1);
      return static_cast<LRESULT>(length);
    }
    default:
      return data.ConsumeIntegralInRange<LRESULT>(-1, 10);
  }
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider data(bytes, size);
  control = &data;
  FuzzCommand command;
  HWND box = nullptr;
  for (int step = 0; step < 64 && data.remaining_bytes() > 0; ++step) {
    int status = 0;
    switch (data.ConsumeIntegralInRange(0, 5)) {
      case 0: {
        const std::string prefix = AnyText(data);
        status = command.CCI_SetPrefix(data.ConsumeBool() ? nullptr : prefix.c_str());
        break;
      }
      case 1: {
        const std::string name = AnyText(data), description = AnyText(data);
        status = command.CCI_AddMode(name.c_str(), description.c_str());
        break;
      }
      case 2: {
        const unsigned int modes = command.CCI_GetModes();
        const std::string wanted = data.ConsumeBool() || modes == 0
                                       ? AnyText(data)
                                       : command.GetModeDesc(data.ConsumeIntegralInRange(1u, modes));
        status = command.CCI_SetMode(wanted.c_str());
        if (status == 0) {
          const std::string joined = std::string(command.GetPrefix()) + command.GetCurrModeName();
          fuzz::Require(joined.substr(0, 127) == command.GetChannelName(),
                        "a switch names the channel prefix + mode");
          fuzz::Require(command.IsCurrMode(command.GetCurrModeName()) == 1 &&
                            command.GetFloat() == 0.0f,
                        "a switch makes the mode current with value 0");
        }
        break;
      }
      case 3:
        command.FillModesList(box);
        break;
      case 4:
        claimedLength = CB_ERR;
        status = command.SetNewMode(box);
        break;
      default: {
        const unsigned int index = data.ConsumeIntegral<unsigned int>() % 300;
        const unsigned int modes = command.CCI_GetModes();
        fuzz::Require(modes == 0 || index > modes || command.GetModeName(index)[0] != '\0',
                      "every table entry has a name");
        status = command.IsCurrMode(command.GetModeName(index));
        break;
      }
    }
    fuzz::Require(status >= 0 && status <= 2, "a status is 0, 1 or 2");
    CheckFields(command);
  }
  control = nullptr;
  return 0;
}
