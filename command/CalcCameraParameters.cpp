// Placeholder until the camera parameter mode lands.
#include "command/VistrelCommand.h"

void VistrelCommand::CalcCameraParameters() {}
