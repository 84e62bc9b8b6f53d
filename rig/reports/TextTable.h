// A plain-text table for the terminal: a header row, then rows of cells,
// every column as wide as its widest cell; the first column left-aligned,
// the others right-aligned (they hold numbers). And the number formats the
// reports share.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace rig {

class TextTable {
 public:
  explicit TextTable(std::vector<std::string> header) { rows_.push_back(std::move(header)); }
  void Add(std::vector<std::string> row) { rows_.push_back(std::move(row)); }
  // Prints the table, each line starting with `indent`.
  void Print(std::ostream& out, const std::string& indent = "  ") const;

 private:
  std::vector<std::vector<std::string>> rows_;
};

// `value` with `decimals` digits after the point ("-0.00" printed as "0.00");
// "nan" and "inf" as such.
std::string Fixed(double value, int decimals);
// Three numbers "(x, y, z)" with `decimals` digits.
std::string Triple(double x, double y, double z, int decimals);
// A number in its shortest plain form (up to six significant digits).
std::string Short(double value);
// A number in scientific notation with three significant digits.
std::string Scientific(double value);

}  // namespace rig
