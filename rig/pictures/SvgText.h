// Small pieces of SVG text shared by the pictures: escaped text, pixel
// coordinates with one decimal, a polygon's point list.
#pragma once

#include <string>
#include <vector>

namespace rig {

// `text` with the characters that end an attribute or start markup escaped.
std::string SvgEscape(const std::string& text);

// A pixel coordinate, one decimal ("12.5").
std::string Px(double value);

// "x,y x,y ..." for a polygon or polyline, without the points that lie
// within a tenth of a pixel of the line through the others.
std::string SvgPoints(const std::vector<double>& xs, const std::vector<double>& ys);

// The document's opening: XML declaration, <svg> of that size, white background.
std::string SvgHeader(double width, double height);

}  // namespace rig
