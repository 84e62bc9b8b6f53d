// Placeholder until the automatic configuration mode lands.
#include "command/VistrelCommand.h"

void VistrelCommand::AutoConfigParameters() {}
