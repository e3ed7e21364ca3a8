// The DXF reader: sections, tables, blocks, entities and objects into a
// database. Strict about structure, tolerant of what programs really write
// (CRLF, padding, missing optional sections, files without handles).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <cstring>

#include "db/dxf.h"
#include "dxf_source.h"
#include "structure.h"

namespace tarn::db {
namespace {

using detail::TagSource;

bool isSubEntityType(std::string_view t) { return t == "VERTEX" || t == "ATTRIB" || t == "SEQEND"; }

bool parseHex(std::string_view s, uint64_t& h) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  if (s.empty() || s.size() > 16) return false;
  auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), h, 16);
  return ec == std::errc() && p == s.data() + s.size();
}

class DxfParser {
 public:
  DxfParser(TagSource& src, Database& db, std::string_view name) : src_(src), db_(db), name_(name) {}

  DxfResult run() {
    if (!parseSections()) return result_;
    detail::finishStructure(db_, entities_);
    return result_;
  }

 private:
  bool advance() {
    if (pending_) { pending_ = false; return true; }
    if (src_.next()) return true;
    if (!src_.error.empty()) fail(src_.error);
    return false;
  }
  void unread() { pending_ = true; }
  bool failed() const { return result_.status != DxfStatus::Ok; }

  bool fail(const std::string& what) {
    if (failed()) return false;
    result_.status = DxfStatus::Malformed;
    result_.line = src_.line;
    result_.message = std::string(name_) + ":" + std::to_string(src_.line) + ": " + what;
    return false;
  }

  bool isZero(std::string_view name) { return src_.code == 0 && src_.text() == name; }

  bool parseSections() {
    while (advance()) {
      if (src_.code == 999) continue;  // comment
      if (isZero("EOF")) return true;
      if (!isZero("SECTION")) return fail("\"0/SECTION\" was expected here");
      if (!advance()) return failed() ? false : fail("the file ends after SECTION");
      if (src_.code != 2) return fail("a section name (group 2) was expected");
      std::string name(src_.text());
      if (!parseSection(name)) return false;
    }
    return !failed();  // a missing EOF is tolerated
  }

  bool parseSection(const std::string& name) {
    if (name == "HEADER") return parseHeader();
    if (name == "TABLES") return parseTables();
    if (name == "BLOCKS") return parseBlocks();
    if (name == "ENTITIES") return parseEntities();
    if (name == "OBJECTS") return parseObjects();
    RawSection raw{name, {}};
    if (!readRaw(raw.tags)) return false;
    (name == "CLASSES" ? db_.classes() : db_.extraSections()).push_back(std::move(raw));
    return true;
  }

  // Reads the value of the current tag (and a point's y and z) into `out`.
  bool readValue(std::vector<uint8_t>& out) {
    int c = src_.code;
    switch (tagKindOfCode(c)) {
      case TagKind::String:
        encodeString(out, c, src_.text());
        return true;
      case TagKind::Real: {
        double v;
        if (!src_.real(v)) return badNumber(c);
        encodeReal(out, c, v);
        return true;
      }
      case TagKind::Point2:
      case TagKind::Point3: return readPoint(c, out);
      case TagKind::Int: {
        int64_t v;
        if (!src_.integer(v)) return badNumber(c);
        encodeInt(out, c, v);
        return true;
      }
      case TagKind::Handle: {
        uint64_t h;
        if (parseHex(src_.raw(), h)) encodeHandle(out, c, h);
        else encodeString(out, c, src_.text());  // kept as written
        return true;
      }
    }
    return true;
  }

  bool badNumber(int code) {
    return fail("group " + std::to_string(code) + " needs a number, not \"" +
                std::string(src_.raw().substr(0, 40)) + "\"");
  }

  bool readPoint(int c, std::vector<uint8_t>& out) {
    double xyz[3] = {0, 0, 0};
    if (!src_.real(xyz[0])) return badNumber(c);
    if (!advance()) {
      if (failed()) return false;
      encodeReal(out, c, xyz[0]);
      return true;
    }
    if (src_.code != c + 10) {  // a lone x: keep it as it stands
      unread();
      encodeReal(out, c, xyz[0]);
      return true;
    }
    if (!src_.real(xyz[1])) return badNumber(src_.code);
    if (!advance()) {
      if (failed()) return false;
      encodePoint(out, c, xyz, false);
      return true;
    }
    if (src_.code != c + 20) {
      unread();
      encodePoint(out, c, xyz, false);
      return true;
    }
    if (!src_.real(xyz[2])) return badNumber(src_.code);
    encodePoint(out, c, xyz, true);
    return true;
  }

  // The tags of one object: everything up to the next group 0.
  bool readBody(std::vector<uint8_t>& out) {
    out.clear();
    while (advance()) {
      if (src_.code == 0) { unread(); return true; }
      if (src_.code == 999) continue;
      if (!readValue(out)) return false;
    }
    return !failed();
  }

  bool readRaw(TagList& tags) {
    while (advance()) {
      if (isZero("ENDSEC")) return true;
      scratch_.clear();
      if (!readValue(scratch_)) return false;
      for (Tag& t : decodeTags(scratch_.data(), uint32_t(scratch_.size()))) tags.push_back(std::move(t));
    }
    return failed() ? false : fail("the section is not closed by ENDSEC");
  }

  bool expectEndsec() {
    if (!advance()) return failed() ? false : fail("the section is not closed by ENDSEC");
    if (!isZero("ENDSEC")) return fail("ENDSEC was expected here");
    return true;
  }

  bool parseHeader() {
    HeaderVar* current = nullptr;
    while (advance()) {
      if (src_.code == 0) { unread(); break; }
      if (src_.code == 9) {
        if (current) headerVarDone(*current);
        db_.headerVars().push_back({std::string(src_.text()), {}});
        current = &db_.headerVars().back();
        continue;
      }
      if (!current) return fail("a header variable name (group 9) was expected");
      scratch_.clear();
      if (!readValue(scratch_)) return false;
      for (Tag& t : decodeTags(scratch_.data(), uint32_t(scratch_.size()))) current->value.push_back(std::move(t));
    }
    if (current) headerVarDone(*current);
    return !failed() && expectEndsec();
  }

  void headerVarDone(const HeaderVar& var) {
    if (var.value.empty()) return;
    const Tag& v = var.value.front();
    if (var.name == "$ACADVER") {
      if (auto version = parseVersion(v.s)) db_.sourceVersion = *version;
      if (db_.sourceVersion >= DxfVersion::R2007) src_.codec.setCodepage("");
    } else if (var.name == "$DWGCODEPAGE") {
      db_.codepage = v.s;
      if (db_.sourceVersion < DxfVersion::R2007) src_.codec.setCodepage(v.s);
    } else if (var.name == "$HANDSEED" && v.kind == TagKind::Handle) {
      db_.noteHandle(v.asHandle() ? v.asHandle() - 1 : 0);
    }
  }

  uint32_t readObject(uint16_t flags) {
    std::string type(src_.text());
    if (!readBody(body_)) return kNoObject;
    if (flags & kEntity && isSubEntityType(type)) flags |= kSubEntity;
    return db_.addObject(type, body_.data(), body_.size(), flags);
  }

  bool parseTables() {
    SymbolTable* table = nullptr;
    while (advance()) {
      if (src_.code != 0) return fail("group 0 was expected in the TABLES section");
      if (isZero("ENDSEC")) return true;
      if (isZero("TABLE")) {
        uint32_t id = readObject(0);
        if (id == kNoObject) return false;
        db_.tables().push_back({std::string(findString(db_, id, 2)), id, {}});
        table = &db_.tables().back();
      } else if (isZero("ENDTAB")) {
        if (!readBody(body_)) return false;
        table = nullptr;
      } else {
        if (!table) return fail("a table record stands outside a TABLE");
        uint32_t id = readObject(0);
        if (id == kNoObject) return false;
        table->records.push_back(id);
      }
    }
    return failed() ? false : fail("the TABLES section is not closed by ENDSEC");
  }

  bool parseBlocks() {
    BlockDef* block = nullptr;
    while (advance()) {
      if (src_.code != 0) return fail("group 0 was expected in the BLOCKS section");
      if (isZero("ENDSEC")) return block ? fail("a block is not closed by ENDBLK") : true;
      bool begin = isZero("BLOCK"), end = isZero("ENDBLK");
      if (!begin && !block) return fail("an entity stands outside a block definition");
      if (begin && block) return fail("a block definition starts inside another");
      uint32_t id = readObject(kEntity);
      if (id == kNoObject) return false;
      if (begin) {
        db_.blocks().push_back({std::string(findString(db_, id, 2)), kNoObject, id, kNoObject, {}});
        block = &db_.blocks().back();
      } else if (end) {
        block->end = id;
        block = nullptr;
      } else {
        block->entities.push_back(id);
      }
    }
    return failed() ? false : fail("the BLOCKS section is not closed by ENDSEC");
  }

  bool parseEntities() {
    while (advance()) {
      if (src_.code != 0) return fail("group 0 was expected in the ENTITIES section");
      if (isZero("ENDSEC")) return true;
      uint32_t id = readObject(kEntity);
      if (id == kNoObject) return false;
      entities_.push_back(id);
    }
    return failed() ? false : fail("the ENTITIES section is not closed by ENDSEC");
  }

  bool parseObjects() {
    while (advance()) {
      if (src_.code != 0) return fail("group 0 was expected in the OBJECTS section");
      if (isZero("ENDSEC")) return true;
      uint32_t id = readObject(0);
      if (id == kNoObject) return false;
      db_.objectsSection().push_back(id);
    }
    return failed() ? false : fail("the OBJECTS section is not closed by ENDSEC");
  }

  TagSource& src_;
  Database& db_;
  std::string_view name_;
  DxfResult result_;
  bool pending_ = false;
  std::vector<uint8_t> body_, scratch_;
  std::vector<uint32_t> entities_;
};

DxfResult refuse(DxfStatus status, std::string message) {
  DxfResult r;
  r.status = status;
  r.message = std::move(message);
  return r;
}

bool looksLikeDwg(std::string_view head) {
  return head.size() >= 6 && head.substr(0, 4) == "AC10" && head[4] >= '0' && head[4] <= '9' &&
         head[5] >= '0' && head[5] <= '9';
}

bool isBinaryDxf(std::string_view head) {
  return head.size() >= detail::kBinarySentinelSize &&
         head.substr(8, detail::kBinarySentinelTail.size()) == detail::kBinarySentinelTail;
}

DxfResult parseWith(TagSource& src, Database& db, std::string_view name) {
  src.codec.setCodepage("ANSI_1252");
  return DxfParser(src, db, name).run();
}

DxfResult readBinary(std::string_view data, Database& db, std::string_view name) {
  detail::BinarySource src(data.substr(detail::kBinarySentinelSize), detail::kBinarySentinelSize);
  return parseWith(src, db, name);
}

}  // namespace

DxfResult readDxfBuffer(std::string_view data, Database& db, std::string_view name) {
  if (looksLikeDwg(data))
    return refuse(DxfStatus::BinaryDwg, std::string(name) + ": this is a DWG drawing; only DXF drawings can be opened");
  if (isBinaryDxf(data)) return readBinary(data, db, name);
  detail::LineReader lines(data);
  detail::AsciiSource src(lines);
  return parseWith(src, db, name);
}

DxfResult readDxfFile(const std::string& path, Database& db) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0)
    return refuse(errno == ENOENT ? DxfStatus::NotFound : DxfStatus::IoError,
                  path + ": " + std::strerror(errno));
  char head[detail::kBinarySentinelSize];
  ssize_t n = ::pread(fd, head, sizeof head, 0);
  std::string_view h(head, n > 0 ? size_t(n) : 0);
  DxfResult r;
  db.path = path;
  if (looksLikeDwg(h)) {
    r = refuse(DxfStatus::BinaryDwg, path + ": this is a DWG drawing; only DXF drawings can be opened");
  } else if (isBinaryDxf(h)) {
    std::string all;
    char buf[1 << 16];
    ssize_t k;
    while ((k = ::read(fd, buf, sizeof buf)) > 0) all.append(buf, size_t(k));
    r = k < 0 ? refuse(DxfStatus::IoError, path + ": " + std::strerror(errno)) : readBinary(all, db, path);
  } else {
    struct stat st{};
    // A small entity takes about 150 bytes of a file.
    if (::fstat(fd, &st) == 0) db.reserve(size_t(st.st_size) / 128 + 1024);
    detail::LineReader lines(fd);
    detail::AsciiSource src(lines);
    r = parseWith(src, db, path);
  }
  ::close(fd);
  return r;
}

}  // namespace tarn::db
