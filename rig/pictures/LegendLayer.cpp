// The legend under the bands: one entry for each kind of mark the picture
// holds, in columns across the canvas, then (when projectors are labelled
// by number) the key from number to name. Its height is computed by the
// same walk that draws it, so the canvas always holds it whole.
#include <algorithm>
#include <sstream>

#include "rig/pictures/LabelPlacement.h"
#include "rig/pictures/PictureLayers.h"
#include "rig/pictures/ProjectorColours.h"
#include "rig/pictures/SvgText.h"
#include "rig/reports/TextTable.h"

namespace rig {
namespace {

constexpr double kRow = 20, kKeyRow = 15, kSymbol = 26;

struct Entry {
  std::string symbol;  // SVG drawn with its origin at the symbol's left, on the text's middle
  std::string text;
};

std::vector<Entry> Entries(const UnrolledPicture& p, const RigReport& r) {
  std::vector<Entry> e;
  const char* c0 = PaletteColour(0);
  e.push_back({std::string("<rect x=\"0\" y=\"-6\" width=\"18\" height=\"12\" fill=\"") + c0 +
                   "\" fill-opacity=\"0.35\" stroke=\"" + c0 + "\"/>",
               "a projector's footprint (neighbours never share a colour)"});
  e.push_back({std::string("<line x1=\"0\" y1=\"-5\" x2=\"18\" y2=\"-5\" stroke=\"") + c0 + "\" stroke-width=\"4\"/>",
               "the image's top edge"});
  e.push_back({"<path d=\"M5,0h8M9,-4v8\" stroke=\"#111111\" stroke-width=\"1.5\"/>", "a projector's aim point"});
  if (!r.coverage.overlaps.empty()) {
    std::string bar;
    for (int i = 0; i < 6; ++i) {
      bar += "<rect x=\"" + std::to_string(i * 3) + "\" y=\"-6\" width=\"3\" height=\"12\" fill=\"" +
             OverlapColour(p.widestOverlap * i / 5.0, p.widestOverlap) + "\"/>";
    }
    e.push_back({bar, p.widestOverlap > 0 ? "overlap, by its narrowest width: 0 or less (purple) to " +
                                                Fixed(p.widestOverlap, 2) + "\u00b0 (yellow)"
                                          : std::string("overlap (purple: each narrows to a gap somewhere)")});
    e.push_back({"<line x1=\"3\" y1=\"0\" x2=\"15\" y2=\"0\" stroke=\"#000000\" stroke-width=\"3\"/>",
                 "where an overlap is narrowest (its width)"});
  }
  if (!r.coverage.gaps.empty()) {
    e.push_back({"<line x1=\"2\" y1=\"0\" x2=\"16\" y2=\"0\" stroke=\"#d00000\" stroke-width=\"3\"/>"
                 "<circle cx=\"9\" cy=\"0\" r=\"5\" fill=\"none\" stroke=\"#d00000\" stroke-width=\"2\"/>",
                 "a gap between neighbours, where narrowest"});
  }
  if (!r.coverage.uncovered.empty()) {
    e.push_back({"<rect x=\"0\" y=\"-6\" width=\"18\" height=\"12\" fill=\"url(#uncovered-hatch)\" stroke=\"#c00000\"/>",
                 "lit by no projector"});
  }
  if (r.scene.extent.angles || r.scene.extent.heights) {
    e.push_back({"<line x1=\"0\" y1=\"0\" x2=\"18\" y2=\"0\" stroke=\"#222222\" stroke-width=\"2\" stroke-dasharray=\"10 4 2 4\"/>",
                 "the area the rig must cover"});
  }
  if (!r.eye.oneEyeCannotFrame) {
    e.push_back({"<line x1=\"0\" y1=\"0\" x2=\"18\" y2=\"0\" stroke=\"#000000\" stroke-width=\"1.5\" stroke-dasharray=\"6 4\"/>",
                 "the eye's field of view"});
    e.push_back({"<circle cx=\"9\" cy=\"0\" r=\"5\" fill=\"#000000\"/>", "the eye's look-at"});
  }
  if (!r.calibrations.empty()) {
    e.push_back({"<circle cx=\"9\" cy=\"0\" r=\"5\" fill=\"none\" stroke=\"#555555\" stroke-width=\"1.5\"/>",
                 "calibration: a grid point at the start"});
    e.push_back({"<path d=\"M3,-6l12,12m-12,0l12,-12\" stroke=\"#c00000\" stroke-width=\"2\"/>",
                 "calibration: measured (numbered 0-7 in grid order)"});
    e.push_back({"<circle cx=\"9\" cy=\"0\" r=\"3\" fill=\"#006400\"/><line x1=\"0\" y1=\"6\" x2=\"18\" y2=\"6\" "
                 "stroke=\"#006400\" stroke-width=\"1.5\" stroke-dasharray=\"7 3\"/>",
                 "calibration: the module's fit, its points and footprint"});
  }
  if (!p.refinedFits.empty()) {
    e.push_back({"<path d=\"M9,-4l4,4l-4,4l-4,-4z\" fill=\"#c000c0\"/><line x1=\"0\" y1=\"7\" x2=\"18\" y2=\"7\" "
                 "stroke=\"#c000c0\" stroke-width=\"1.5\" stroke-dasharray=\"2 3\"/>",
                 "calibration: the refined fit, its points and footprint"});
  }
  return e;
}

// Walks the legend: calls `entry(x, y, i)` and `key(x, y, i)` at each
// place, returns the height used.
template <class EntryAt, class KeyAt>
double Walk(const UnrolledPicture& p, const RigReport& r, double width, const std::vector<Entry>& all, EntryAt entry,
            KeyAt key) {
  const std::size_t entries = all.size();
  double entryWidth = 100;
  for (const Entry& e : all) entryWidth = std::max(entryWidth, kSymbol + TextWidth(e.text, 12) + 16);
  const double left = UnrolledLayout::kPlotLeft, usable = std::max(width - left - 10, entryWidth);
  const std::size_t columns = std::max<std::size_t>(1, static_cast<std::size_t>(usable / entryWidth));
  double y = 22;  // under the heading
  for (std::size_t i = 0; i < entries; ++i) entry(left + (i % columns) * entryWidth, y + (i / columns) * kRow, i);
  y += ((entries + columns - 1) / columns) * kRow + 6;
  if (p.numbered && !r.projectors.empty()) {
    y += 16;  // the key's heading
    double widest = 0;
    for (std::size_t i = 0; i < r.projectors.size(); ++i) {
      widest = std::max(widest, TextWidth(std::to_string(i + 1) + "  " + r.projectors[i].name, 11));
    }
    const double cell = std::min(widest + 18, usable);
    const std::size_t perRow = std::max<std::size_t>(1, static_cast<std::size_t>(usable / cell));
    for (std::size_t i = 0; i < r.projectors.size(); ++i) key(left + (i % perRow) * cell, y + (i / perRow) * kKeyRow, i);
    y += ((r.projectors.size() + perRow - 1) / perRow) * kKeyRow;
  }
  return y + 4;
}

}  // namespace

double LegendHeight(const UnrolledPicture& p, const RigReport& r, double width) {
  return Walk(p, r, width, Entries(p, r), [](double, double, std::size_t) {}, [](double, double, std::size_t) {});
}

void DrawLegend(std::ostream& o, const UnrolledPicture& p, const RigReport& r) {
  const std::vector<Entry> entries = Entries(p, r);
  const double top = p.legendTop;
  o << "<g id=\"legend\">\n<text x=\"" << UnrolledLayout::kPlotLeft << "\" y=\"" << Px(top + 6)
    << "\" font-weight=\"bold\">Legend</text>\n";
  double keyTop = -1;
  Walk(p, r, p.width, entries,
       [&](double x, double y, std::size_t i) {
         o << "<g transform=\"translate(" << Px(x) << " " << Px(top + y) << ")\">" << entries[i].symbol << "</g>"
           << "<text x=\"" << Px(x + kSymbol) << "\" y=\"" << Px(top + y + 4) << "\">" << SvgEscape(entries[i].text)
           << "</text>\n";
       },
       [&](double x, double y, std::size_t i) {
         if (keyTop < 0) {
           keyTop = y;
           o << "<text x=\"" << UnrolledLayout::kPlotLeft << "\" y=\"" << Px(top + y - 14)
             << "\" font-weight=\"bold\">Key: the projectors by number</text>\n";
         }
         o << "<text x=\"" << Px(x) << "\" y=\"" << Px(top + y + 4) << "\" font-size=\"11\"><tspan font-weight=\"bold\" fill=\""
           << PaletteColour(p.colours[i]) << "\">" << (i + 1) << "</tspan>  " << SvgEscape(r.projectors[i].name)
           << "</text>\n";
       });
  o << "</g>\n";
}

}  // namespace rig
