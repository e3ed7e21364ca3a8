// Windows metafiles (WMF): a writer of the records WMFOUT needs and a strict
// reader of the records WMFIN turns into entities. Coordinates are the
// metafile's logical units (16-bit); colours are 0x00BBGGRR as the format
// stores them.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tarn::commands::wmf {

inline constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;

struct LogicalPoint {
  int16_t x = 0, y = 0;
  bool operator==(const LogicalPoint&) const = default;
};

struct Rect {
  int16_t left = 0, top = 0, right = 0, bottom = 0;
};

uint32_t colourRef(int red, int green, int blue);

// A font as the metafile describes it: `height` negative is the character
// height (as CAD text heights are), `escapement` in tenths of a degree
// counter-clockwise; `face` at most 31 bytes are kept.
struct Font {
  int16_t height = 0;
  int16_t escapement = 0;
  bool italic = false;
  std::string face;
  bool operator==(const Font&) const = default;
};

// Builds a placeable metafile in memory. Pens, brushes and fonts are made
// when the wanted one differs from the one selected, and the old one is
// deleted, so that the object table never holds more than three objects.
class Writer {
 public:
  Writer(Rect frame, uint16_t unitsPerInch);

  void pen(uint32_t colour);
  void brush(std::optional<uint32_t> colour);  // nullopt: hollow (outlines only)
  void font(const Font& f, uint32_t colour);

  void polyline(std::span<const LogicalPoint> points);
  void polygon(std::span<const LogicalPoint> points);
  void polyPolygon(std::span<const std::vector<LogicalPoint>> rings);
  void ellipse(Rect box);
  void pixel(LogicalPoint p, uint32_t colour);
  // Text written at its baseline's left end; `text` in the metafile's 8-bit code page.
  void text(LogicalPoint at, const std::string& text);

  // The whole file: placeable header, metafile header, records, end record.
  std::vector<uint8_t> finish();

 private:
  struct Slot {
    int handle = -1;
    std::vector<uint8_t> definition;  // the record that made it (for comparison)
  };
  void record(uint16_t function, const std::vector<uint8_t>& params);
  void select(Slot& slot, uint16_t function, std::vector<uint8_t> params);
  int freeHandle() const;

  Rect frame_;
  uint16_t unitsPerInch_;
  std::vector<uint8_t> records_;
  std::vector<bool> used_;
  Slot pen_, brush_, font_;
  uint32_t textColour_ = 0xFFFFFFFF;
  uint32_t maxRecordWords_ = 0;
};

// What the reader found, in logical units.
enum class ShapeKind { Polyline, Polygon, Ellipse, Text, Point };

struct Shape {
  ShapeKind kind = ShapeKind::Polyline;
  std::vector<LogicalPoint> points;  // Ellipse: two opposite corners of its box
  uint32_t colour = 0;               // the pen's (the text colour for texts)
  // Texts: the text as the file has it (8-bit), its font and alignment.
  std::string text;
  Font font;
  uint16_t align = 0;  // TA_* flags of the text
};

struct Picture {
  bool placeable = false;
  Rect frame;                 // placeable header's box
  uint16_t unitsPerInch = 0;  // 0 without a placeable header
  LogicalPoint windowOrigin;
  LogicalPoint windowExtent;  // 0,0 when not set
  std::vector<Shape> shapes;
  int skippedRecords = 0;     // drawing records not turned into shapes (arcs, bitmaps ...)
};

struct ReadResult {
  bool ok = false;
  std::string error;  // what is wrong
  size_t offset = 0;  // the byte offset it is at
  Picture picture;
};

// Every record's size is checked against the file and against its own
// parameters; the first fault ends the read.
ReadResult read(std::span<const uint8_t> bytes);

// Text alignment flags of the format.
inline constexpr uint16_t kAlignRight = 2, kAlignCenter = 6, kAlignBottom = 8, kAlignBaseline = 24;

}  // namespace tarn::commands::wmf
