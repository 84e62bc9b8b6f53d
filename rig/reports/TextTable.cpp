#include "rig/reports/TextTable.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace rig {

void TextTable::Print(std::ostream& out, const std::string& indent) const {
  std::vector<std::size_t> width;
  for (const auto& row : rows_) {
    if (width.size() < row.size()) width.resize(row.size(), 0);
    for (std::size_t c = 0; c < row.size(); ++c) width[c] = std::max(width[c], row[c].size());
  }
  for (const auto& row : rows_) {
    std::string line = indent;
    for (std::size_t c = 0; c < row.size(); ++c) {
      const std::string pad(width[c] - row[c].size(), ' ');
      line += c == 0 ? row[c] + pad : "  " + pad + row[c];
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out << line << '\n';
  }
}

std::string Fixed(double value, int decimals) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
  std::string s = buffer;
  if (s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
  return s;
}

std::string Triple(double x, double y, double z, int decimals) {
  return "(" + Fixed(x, decimals) + ", " + Fixed(y, decimals) + ", " + Fixed(z, decimals) + ")";
}

std::string Short(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%g", value);
  return buffer;
}

std::string Scientific(double value) {
  if (std::isnan(value)) return "nan";
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.3g", value);
  return buffer;
}

}  // namespace rig
