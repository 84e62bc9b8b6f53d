// vistrel-rig: plan, frame and calibrate a projector rig on a cylindrical
// screen by driving the calibration command module as the engine does.
#include "rig/RigCommands.h"

int main(int argc, char** argv) { return rig::RunRigProgram(argc, argv); }
