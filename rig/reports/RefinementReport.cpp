#include "rig/reports/RefinementReport.h"

#include <cmath>
#include <string>
#include <vector>

#include "rig/reports/CalibrationReport.h"
#include "rig/reports/RigReport.h"
#include "rig/reports/TextTable.h"

namespace rig {

using nlohmann::json;

float AssumedPointNoise(const std::optional<std::array<int, 2>>& imageSize) {
  if (!imageSize) return kDefaultPointNoise;
  const int shorter = std::min((*imageSize)[0], (*imageSize)[1]);
  return shorter > 0 ? 1.0f / static_cast<float>(shorter) : kDefaultPointNoise;
}

void AddRefinements(RigReport& report) {
  for (CalibrationReport& c : report.calibrations) {
    float seed[kProjectorParameterCount];
    for (int k = 0; k < kProjectorParameterCount; ++k) seed[k] = ParameterOf(c.fitted, k);
    RefinementResult result;
    result.refinement = RefineCalibration(c.problem, seed);
    result.residuals = ComputePointResiduals(c.problem, result.refinement.values);
    result.certainty = AnalyseCertainty(c.problem, result.refinement.values,
                                        AssumedPointNoise(c.imageSize));
    c.refinement = result;
  }
}

namespace {

const ParameterCertainty* CertaintyOf(const CalibrationCertainty& c, int k) {
  for (const ParameterCertainty& p : c.parameters) {
    if (p.parameter == k) return &p;
  }
  return nullptr;
}

void PrintRefinedParameters(std::ostream& out, const CalibrationReport& r) {
  const RefinementResult& x = *r.refinement;
  TextTable params({"parameter", "module", "refined", "change", "std. dev.", "of range"});
  for (int k = 0; k < kProjectorParameterCount; ++k) {
    if (!HasParameter(r.searchMask, k)) continue;
    const float a = ParameterOf(r.fitted, k), b = x.refinement.values[k];
    const ParameterCertainty* c = CertaintyOf(x.certainty, k);
    params.Add({ParameterName(k), Fixed(a, 4), Fixed(b, 4), Fixed(double(b) - a, 4),
                c ? Scientific(c->standardDeviation) : "-",
                c ? Fixed(100.0 * c->shareOfRange, 2) + " %" : "-"});
  }
  params.Print(out);
}

void PrintRefinedResiduals(std::ostream& out, const CalibrationReport& r) {
  const PointResiduals& refined = r.refinement->residuals;
  std::vector<std::string> header = {"point", "residual module", "residual refined"};
  if (r.imageSize) header.push_back("refined, pixels");
  TextTable points(header);
  for (int i = 0; i < kCalibrationPointCount; ++i) {
    std::vector<std::string> row = {std::to_string(i), Scientific(Distance(r.after.residual[i])),
                                    Scientific(Distance(refined.residual[i]))};
    if (r.imageSize) row.push_back(Scientific(Pixels(refined.residual[i], *r.imageSize)));
    points.Add(row);
  }
  std::vector<std::string> rms = {"RMS", Scientific(r.after.rms), Scientific(refined.rms)};
  std::vector<std::string> max = {"max", Scientific(r.after.max), Scientific(refined.max)};
  if (r.imageSize) {
    rms.push_back(Scientific(RmsPixels(refined, *r.imageSize)));
    max.push_back(Scientific(MaxPixels(refined, *r.imageSize)));
  }
  points.Add(rms);
  points.Add(max);
  points.Print(out);
}

void PrintCertaintyWarnings(std::ostream& out, const CalibrationReport& r) {
  const CalibrationCertainty& certainty = r.refinement->certainty;
  out << "  std. dev.: how well the eight points determine each parameter, for a point position "
         "uncertain by "
      << Short(certainty.pointNoise) << " (image units) per coordinate"
      << (certainty.pointNoise > AssumedPointNoise(r.imageSize) ? ", as the residuals imply"
          : r.imageSize                                         ? ", one pixel"
                                                                : "")
      << ".\n";
  if (!certainty.determined) {
    out << "  WARNING: the points do not determine the searched parameters: some combination of "
           "them moves no point at all. Search fewer parameters.\n";
  }
  for (const InseparablePair& p : certainty.inseparable) {
    out << "  WARNING: the points cannot tell " << ParameterName(p.first) << " and "
        << ParameterName(p.second) << " apart (correlation " << Fixed(p.correlation, 4)
        << "): a change of one is taken up by the other. Search only one of them, or measure "
           "the other.\n";
  }
}

void PrintOnBoundWarnings(std::ostream& out, const CalibrationReport& r) {
  const CalibrationRefinement& f = r.refinement->refinement;
  for (int k = 0; k < kProjectorParameterCount; ++k) {
    if (!HasParameter(f.onBoundMask, k)) continue;
    const Range& range = r.ranges[k];
    const bool atMaximum = range.maximum - f.values[k] <= f.values[k] - range.minimum;
    out << "  WARNING: refined " << ParameterName(k) << " stops on its range's "
        << (atMaximum ? "maximum " : "minimum ")
        << Fixed(atMaximum ? range.maximum : range.minimum, 3)
        << ": the truth may lie outside the range; widen it and calibrate again.\n";
  }
}

}  // namespace

void PrintRefinementReport(std::ostream& out, const CalibrationReport& r) {
  const CalibrationRefinement& f = r.refinement->refinement;
  out << "  Refinement (--refine: bounded least squares from the module's result, Ceres Solver; "
      << f.iterations << " iterations, " << (f.converged ? "converged" : "stopped at its iteration limit")
      << ")\n";
  out << "  error: module " << Scientific(f.seedError) << ", refined " << Scientific(f.error) << "\n";
  PrintRefinedParameters(out, r);
  PrintRefinedResiduals(out, r);
  PrintCertaintyWarnings(out, r);
  PrintOnBoundWarnings(out, r);
}

json RefinementReportJson(const CalibrationReport& r) {
  const RefinementResult& x = *r.refinement;
  const CalibrationRefinement& f = x.refinement;
  json values = json::object(), onBound = json::array(), parameters = json::object(),
       inseparable = json::array();
  for (int k = 0; k < kProjectorParameterCount; ++k) {
    values[ParameterName(k)] = f.values[k];
    if (HasParameter(f.onBoundMask, k)) onBound.push_back(ParameterName(k));
  }
  for (const ParameterCertainty& p : x.certainty.parameters) {
    parameters[ParameterName(p.parameter)] = {{"standard_deviation", p.standardDeviation},
                                                {"share_of_range", p.shareOfRange}};
  }
  for (const InseparablePair& p : x.certainty.inseparable) {
    inseparable.push_back({{"parameters", {ParameterName(p.first), ParameterName(p.second)}},
                           {"correlation", p.correlation}});
  }
  json residualNoise = std::isnan(x.certainty.residualNoise) ? json(nullptr)
                                                             : json(x.certainty.residualNoise);
  return {{"values", values},
          {"module_error", f.seedError},
          {"error", f.error},
          {"iterations", f.iterations},
          {"converged", f.converged},
          {"on_bound", onBound},
          {"residuals", ResidualsJson(x.residuals, r.imageSize)},
          {"certainty",
           {{"determined", x.certainty.determined},
            {"point_noise", x.certainty.pointNoise},
            {"residual_noise", residualNoise},
            {"parameters", parameters},
            {"inseparable", inseparable}}}};
}

}  // namespace rig
