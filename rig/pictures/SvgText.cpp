#include "rig/pictures/SvgText.h"

#include "rig/pictures/PolylineSimplification.h"
#include "rig/reports/TextTable.h"

namespace rig {

std::string SvgEscape(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '<') out += "&lt;";
    else if (c == '>') out += "&gt;";
    else if (c == '&') out += "&amp;";
    else if (c == '"') out += "&quot;";
    else out += c;
  }
  return out;
}

std::string Px(double value) { return Fixed(value, 1); }

std::string SvgPoints(const std::vector<double>& xs, const std::vector<double>& ys) {
  // A tenth of a pixel: the precision the coordinates are written with.
  constexpr double kTolerance = 0.1;
  std::string s;
  for (std::size_t i : KeptPoints(xs, ys, kTolerance)) {
    if (!s.empty()) s += ' ';
    s += Px(xs[i]) + "," + Px(ys[i]);
  }
  return s;
}

std::string SvgHeader(double width, double height) {
  const std::string w = Fixed(width, 0), h = Fixed(height, 0);
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + w + "\" height=\"" + h +
         "\" viewBox=\"0 0 " + w + " " + h + "\" font-family=\"sans-serif\" font-size=\"12\">\n"
         "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
}

}  // namespace rig
