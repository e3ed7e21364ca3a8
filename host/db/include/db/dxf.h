// Reading and writing drawings as DXF files (ASCII and binary).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "db/database.h"

namespace tarn::db {

enum class DxfStatus { Ok, NotFound, IoError, Malformed, BinaryDwg, Unsupported };

struct DxfResult {
  DxfStatus status = DxfStatus::Ok;
  std::string message;  // "file:line: what is wrong" for malformed input
  uint64_t line = 0;    // 1-based line (ASCII) or byte offset (binary) of the fault
  bool ok() const { return status == DxfStatus::Ok; }
};

// Reads a DXF file into an empty database. On failure the database is left
// partly filled and must be thrown away; the message names file and line.
DxfResult readDxfFile(const std::string& path, Database& db);
DxfResult readDxfBuffer(std::string_view data, Database& db, std::string_view name = "<memory>");

struct DxfWriteOptions {
  std::optional<DxfVersion> version;  // default: 2018 (R12 input is written as 2018)
};

// Writes the drawing to a temporary file beside `path` and renames it into
// place, so that a failed save never leaves a half-written drawing.
DxfResult writeDxfFile(const Database& db, const std::string& path, const DxfWriteOptions& options = {});
std::string writeDxfString(const Database& db, const DxfWriteOptions& options = {});

}  // namespace tarn::db
