#include "rig/export/MpcdiDocument.h"

#include <tinyxml2.h>

#include <algorithm>

#include "rig/output/ShortestFloat.h"

namespace rig {
namespace {

using tinyxml2::XMLDocument;
using tinyxml2::XMLElement;

// The one buffer of the 3d profile; readers accept no second one.
constexpr char kBufferId[] = "display";

XMLElement* Child(XMLElement* parent, const char* name) {
  return parent->InsertNewChildElement(name);
}

void Text(XMLElement* parent, const char* name, const std::string& text) {
  Child(parent, name)->SetText(text.c_str());
}

void Number(XMLElement* parent, const char* name, float value) {
  Text(parent, name, ShortestFloatText(value));
}

}  // namespace

int BufferWidth(const MpcdiDocument& d) {
  int width = 0;
  for (const MpcdiRegion& r : d.regions) width += r.width;
  return width;
}

int BufferHeight(const MpcdiDocument& d) {
  int height = 0;
  for (const MpcdiRegion& r : d.regions) height = std::max(height, r.height);
  return height;
}

std::string MpcdiXml(const MpcdiDocument& d) {
  XMLDocument xml;
  xml.InsertEndChild(xml.NewDeclaration("xml version=\"1.0\" encoding=\"UTF-8\""));
  XMLElement* root = xml.NewElement("MPCDI");
  xml.InsertEndChild(root);
  root->SetAttribute("profile", "3d");
  root->SetAttribute("level", d.level);
  root->SetAttribute("date", d.date.c_str());
  root->SetAttribute("version", "1.0");

  const int bufferWidth = BufferWidth(d), bufferHeight = BufferHeight(d);
  XMLElement* buffer = Child(Child(root, "display"), "buffer");
  buffer->SetAttribute("id", kBufferId);
  buffer->SetAttribute("Xresolution", bufferWidth);
  buffer->SetAttribute("Yresolution", bufferHeight);
  // Regions side by side from the buffer's left, bottoms on its bottom edge
  // (the format's origin is the buffer's lower left, y up).
  int left = 0;
  for (const MpcdiRegion& r : d.regions) {
    XMLElement* region = Child(buffer, "region");
    region->SetAttribute("id", r.id.c_str());
    region->SetAttribute("Xresolution", r.width);
    region->SetAttribute("Yresolution", r.height);
    region->SetAttribute("x", ShortestFloatText(float(left) / float(bufferWidth)).c_str());
    region->SetAttribute("y", "0");
    region->SetAttribute("xsize", ShortestFloatText(float(r.width) / float(bufferWidth)).c_str());
    region->SetAttribute("ysize", ShortestFloatText(float(r.height) / float(bufferHeight)).c_str());
    left += r.width;
    XMLElement* frustum = Child(region, "frustum");
    Number(frustum, "yaw", r.frustum.yaw);
    Number(frustum, "pitch", r.frustum.pitch);
    Number(frustum, "roll", r.frustum.roll);
    Number(frustum, "rightAngle", r.frustum.rightAngle);
    Number(frustum, "leftAngle", r.frustum.leftAngle);
    Number(frustum, "upAngle", r.frustum.upAngle);
    Number(frustum, "downAngle", r.frustum.downAngle);
  }

  XMLElement* files = Child(root, "files");
  for (const MpcdiRegion& r : d.regions) {
    XMLElement* fileset = Child(files, "fileset");
    fileset->SetAttribute("region", r.id.c_str());
    XMLElement* warp = Child(fileset, "geometryWarpFile");
    Text(warp, "path", r.warpFile);
    Text(warp, "interpolation", "linear");
    Text(warp, "geometricUnit", "unknown");
    // Both spellings of the origin: the written standard's and its
    // reference reader's.
    Text(warp, "originOf3DData", "unknown");
    Text(warp, "originof3DData", "unknown");
    XMLElement* alpha = Child(fileset, "alphaMap");
    Text(alpha, "path", r.alphaFile);
    Text(alpha, "componentDepth", "1");
    Text(alpha, "bitDepth", std::to_string(d.alphaBits));
    Text(alpha, "gammaEmbedded", "1.0");
    if (!r.betaFile.empty()) {
      XMLElement* beta = Child(fileset, "betaMap");
      Text(beta, "path", r.betaFile);
      Text(beta, "componentDepth", "1");
      Text(beta, "bitDepth", "8");
    }
  }

  tinyxml2::XMLPrinter printer;
  xml.Print(&printer);
  return std::string(printer.CStr(), std::size_t(printer.CStrSize() > 0 ? printer.CStrSize() - 1 : 0));
}

}  // namespace rig
