// The canonical text form of a loaded tree that the tests, the vectortool
// harness and the outside comparisons share: one line per element, depth
// first, as
//   <depth> <name>[ <attribute>=<value>]...[ "<text>]
// Every byte outside "!".."~", and the bytes \ = " themselves, are written
// as \xHH, so fields never contain a space and the text is plain ASCII.
// A root with text (a gap between top-level elements) gets a line of depth
// -1 with an empty name.
#pragma once

#include <string>
#include <string_view>

#include "dxXMLDoc.h"

std::string XmlEscapeField(std::string_view AValue);
// The lines of the tree under ARoot (ARoot itself only for its text).
std::string XmlTreeText(const TdxXMLNode* ARoot);
inline std::string XmlTreeText(const TdxXMLDocument* ADocument) {
  return XmlTreeText(ADocument->Root());
}
// The same text after what saving changes on purpose: no xml:space
// attributes, line breaks in attribute values as spaces, no root text.
std::string XmlSavedTreeText(const TdxXMLNode* ARoot);
