#include "rig/reports/RefinementReport.h"

#include <cmath>
#include <string>
#include <vector>

#include "rig/reports/CalibrationReport.h"
#include "rig/reports/RigReport.h"
#include "rig/reports/TextTable.h"
#include "tweaker/DistortionParameterTweaker.h"

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
    // One pixel of each image axis, or the default per coordinate.
    const float noiseU = c.imageSize ? 1.0f / static_cast<float>((*c.imageSize)[0]) : kDefaultPointNoise;
    const float noiseV = c.imageSize ? 1.0f / static_cast<float>((*c.imageSize)[1]) : kDefaultPointNoise;
    result.outliers = FindOutliers(c.problem, result.refinement.values, noiseU, noiseV);
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

std::string NoiseUnit(const CalibrationReport& r) {
  return r.imageSize ? "one pixel" : Short(kDefaultPointNoise) + " image units";
}

void PrintOutliers(std::ostream& out, const CalibrationReport& r) {
  const OutlierAnalysis& a = r.refinement->outliers;
  if (!a.tested) {
    out << "  Bad points: not tested (with a point left out, fewer residuals than searched "
           "parameters would remain).\n";
    return;
  }
  out << "  Bad points (leave-one-out: each point's residual under the refinement without it, "
         "in noise units of "
      << NoiseUnit(r) << " per coordinate, allowing for what seven points leave uncertain; beyond "
      << Short(kOutlierThreshold) << " is more than noise)\n";
  TextTable t({"point", "(u, v)", "noise units", "residual without it (du, dv)"});
  for (const LeftOutPoint& p : a.points) {
    const D3DXVECTOR2 g = DistortionParameterTweaker::kGridPoints[p.point];
    t.Add({std::to_string(p.point), "(" + Fixed(g.x, 1) + ", " + Fixed(g.y, 1) + ")",
           std::isnan(p.score) ? "-" : Fixed(p.score, 2),
           "(" + Scientific(p.residualU) + ", " + Scientific(p.residualV) + ")"});
  }
  t.Print(out);
  const float* refined = r.refinement->refinement.values;
  for (int i : a.outliers) {
    const LeftOutPoint& p = a.points[i];
    out << "  WARNING: point " << p.point << " lies " << Fixed(p.score, 1)
        << " noise units from where the other seven put it: re-measure it. Without it:\n";
    TextTable m({"parameter", "refined", "without point " + std::to_string(p.point), "moves"});
    for (int k = 0; k < kProjectorParameterCount; ++k) {
      if (!HasParameter(r.searchMask, k)) continue;
      m.Add({ParameterName(k), Fixed(refined[k], 4), Fixed(p.values[k], 4),
             Fixed(double(p.values[k]) - refined[k], 4)});
    }
    m.Print(out);
  }
}

json OutliersJson(const CalibrationReport& r) {
  const OutlierAnalysis& a = r.refinement->outliers;
  json points = json::array(), flagged = json::array();
  for (const LeftOutPoint& p : a.points) {
    points.push_back({{"point", p.point},
                      {"score", std::isnan(p.score) ? json(nullptr) : json(p.score)},
                      {"residual", {p.residualU, p.residualV}}});
  }
  const float* refined = r.refinement->refinement.values;
  for (int i : a.outliers) {
    const LeftOutPoint& p = a.points[i];
    json without = json::object(), moves = json::object();
    for (int k = 0; k < kProjectorParameterCount; ++k) {
      if (!HasParameter(r.searchMask, k)) continue;
      without[ParameterName(k)] = p.values[k];
      moves[ParameterName(k)] = p.values[k] - refined[k];
    }
    flagged.push_back({{"point", p.point}, {"score", p.score}, {"values_without", without},
                       {"moves", moves}});
  }
  return {{"tested", a.tested},      {"threshold", kOutlierThreshold},
          {"noise", {a.noiseU, a.noiseV}}, {"points", points},
          {"remeasure", flagged}};
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
  PrintOutliers(out, r);
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
          {"bad_points", OutliersJson(r)},
          {"certainty",
           {{"determined", x.certainty.determined},
            {"point_noise", x.certainty.pointNoise},
            {"residual_noise", residualNoise},
            {"parameters", parameters},
            {"inseparable", inseparable}}}};
}

}  // namespace rig
