// The projector calibration command: a command channel with the modes
// "CalcCameraParameters", "AutoConfigParameters" and "ConvertParameters"
// (after the placeholder "UndefinedMode"). Each mode declares its own child
// slots (ChildLayout.h); every evaluation runs the current mode's
// computation once on its children.
//
// Scene frame of every mode: Y up, the screen is the cylinder about the Y
// axis; screen angle 0 is +Z, growing toward +X; angles at the children in
// degrees.
#pragma once

#include "command/CommandExport.h"
#include "command_channel/CommandChannelInterface.h"

class VistrelCommand;
extern template class VISTREL_COMMAND_API CommandChannelInterface<VistrelCommand>;

class VISTREL_COMMAND_API VistrelCommand : public CommandChannelInterface<VistrelCommand> {
 public:
  // Named "VistrelCommand", prefix "VLCC_", the four modes; no current mode
  // and no child slots.
  VistrelCommand();
  // The command has no state of its own: these are the template's.
  VistrelCommand(const VistrelCommand& other);
  VistrelCommand& operator=(const VistrelCommand& other);
  ~VistrelCommand() override;

  // Runs the computation of the current mode, if it is one of the three
  // computing modes; any other name runs nothing. Touches neither the
  // channel's value nor its return value. The automatic configuration's
  // failures (std::exception) leave through here.
  void CallChannel() override;
  // The host's own channel data, then the command template's save, which
  // writes that data again followed by the "MODE" block.
  bool SaveChannel(VelFileSaver& saver) override;
  // Reads what SaveChannel writes, in the same order.
  bool LoadChannel(VelFileLoader& loader, Vel_ChannelGroup* group) override;
  // Registers the dependency on the "Value" channel type, as the command
  // template does: every child of the command is a value or vector channel
  // of the float channel library, so a host must load that library first.
  void DoDependencyInit(Vel_List* dependencies) override;

 protected:
  // Declares the current mode's child slots; a name that is none of
  // "UndefinedMode" (no slots), "CalcCameraParameters" and
  // "AutoConfigParameters" gets the "ConvertParameters" slots.
  void CCI_CreateChildLinks() override;

  // "ConvertParameters": reads the eight inputs (aim angle and height,
  // projection angles, distance, camera aim angle and height, radius), runs
  // the pose model and writes projector position, projector aim point and
  // camera aim point, in that order. Any of the eleven children missing (or
  // not of its slot's kind): nothing is read or written.
  void ConvertParameters();
  // "CalcCameraParameters": reads "Cylinder Radius", "Camera Position" and
  // "Projector Count" (truncated toward zero; NaN counts as 0, values beyond
  // int's range saturate), then for each projector i = 0 .. count - 1 writes
  // i to "Projector Index" and reads that projector's position, field of
  // view, look-at, roll and keystone once per traced image point (eight per
  // projector). Writes "Eye Lookat", the point on the cylinder at the middle
  // of everything traced as seen from "Camera Position", then "Eye Field of
  // View", (horizontal degrees, vertical degrees, 0). "Projector Index" is
  // left at count - 1.
  //  - Any of the eleven children missing (or of the wrong kind): nothing is
  //    read or written.
  //  - Count below 1 (0, negative, NaN) or above 1024
  //    (eye_view::kMaxProjectorCount, chosen so that one evaluation stays
  //    well within a 16.7 ms frame): both outputs keep whatever they held
  //    and "Projector Index" is not written; no value is made up.
  //  - Work: at most 1024 projectors x 8 image points x (five child reads +
  //    one ray traced): about 1.8 µs per projector through index-driven
  //    lists, at most about 2 ms (Release, the development machine).
  //  - A projector ray that misses the cylinder gives a NaN footprint point.
  //    Such a point is passed over, except as the very first one (projector
  //    0, image corner (0, 0)): the bounds start from it, and then the
  //    look-at and both angles of the field of view are written as NaN (its
  //    z stays 0). Nothing loops on NaN; the run always ends.
  void CalcCameraParameters();
  // "AutoConfigParameters": reads the eight measured shifts through
  // "DistortionPoint Array" / "DistortionPoint Index", the camera, the nine
  // parameters with their ranges and the radius; searches the parameters
  // whose "Tweak" switch is 1.0 or more (NaN, less, or no switch: off); then
  // writes all nine values back, in parameter order. The camera's aim point
  // is the screen point named by "Camera Lookat": its screen angle
  // atan2(x, z) and height y. Any of children 0 to 32 missing (or not of
  // its slot's kind): nothing happens. A reversed range ("minVal bigger than maxVal") or an empty
  // range on a switched-on parameter ("invalid interval size") throws a
  // std::exception out of CallChannel before any child is written. Work: at
  // most ParameterTweaker::kMaxEvaluationsPerParameter (159) error
  // evaluations per switched-on parameter, so at most 9 x 159 in all.
  void AutoConfigParameters();
};
