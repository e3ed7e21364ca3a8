// The DXF writer: ASCII DXF of version 2000 or later, saved through a
// temporary file that is renamed into place.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <string>
#include <thread>

#include "db/dxf.h"
#include "platform/code_page.h"

namespace tarn::db {
namespace {

// Buffers output and hands it to a file descriptor (or keeps it all). A full
// buffer is written by a helper thread while the next one is filled, so the
// copying into the file overlaps the formatting.
class Output {
 public:
  explicit Output(int fd) : fd_(fd) { buf_.reserve(kFlushAt + 4096); }
  Output() { buf_.reserve(1 << 16); }
  ~Output() { wait(); }
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  void put(std::string_view s) {
    buf_.append(s);
    if (fd_ >= 0 && buf_.size() >= kFlushAt) handOver();
  }
  void put(char c) { buf_ += c; }
  // Writes everything given so far; false when a write failed.
  bool flush() {
    if (fd_ < 0) return ok_;
    handOver();
    wait();
    return ok_;
  }
  bool ok() const { return ok_; }
  int error() const { return error_; }
  std::string& buffer() { return buf_; }

 private:
  void handOver() {
    wait();
    if (!ok_ || buf_.empty()) {
      buf_.clear();
      return;
    }
    inflight_.swap(buf_);
    buf_.clear();
    writer_ = std::thread([this] { writeAll(inflight_); });
  }
  void wait() {
    if (writer_.joinable()) writer_.join();
  }
  void writeAll(const std::string& data) {
    const char* p = data.data();
    size_t left = data.size();
    while (left) {
      ssize_t n = ::write(fd_, p, left);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        ok_ = false;
        error_ = n < 0 ? errno : ENOSPC;
        return;
      }
      p += n;
      left -= size_t(n);
    }
  }

  static constexpr size_t kFlushAt = size_t(4) << 20;
  int fd_ = -1;
  std::string buf_, inflight_;
  std::thread writer_;
  bool ok_ = true;  // written by the helper thread only between hand-over and join
  int error_ = 0;
};

class DxfWriter {
 public:
  DxfWriter(const Database& db, Output& out, DxfVersion version)
      : db_(db), out_(out), version_(version) {
    const TagList* cp = db.headerVar("$DWGCODEPAGE");
    codepage_ = cp && !cp->empty() ? cp->front().s : "ANSI_1252";
  }

  void write() {
    writeHeader();
    if (!db_.classes().empty()) writeRaw(db_.classes().front());
    writeTables();
    writeBlocks();
    writeEntities();
    writeObjects();
    for (const RawSection& s : db_.extraSections()) writeRaw(s);
    code(0);
    line("EOF");
  }

 private:
  void code(int c) {
    char buf[16];
    auto r = std::to_chars(buf, buf + sizeof buf, c);
    size_t n = size_t(r.ptr - buf);
    for (size_t i = n; i < 3; ++i) out_.put(' ');
    out_.put(std::string_view(buf, n));
    out_.put('\n');
  }
  void line(std::string_view s) {
    out_.put(s);
    out_.put('\n');
  }
  void text(std::string_view s) {
    if (s.find_first_of("\r\n") != std::string_view::npos) {
      // A line break would end the value: write it in caret notation.
      std::string safe;
      for (char c : s) {
        if (c == '\r') safe += "^M";
        else if (c == '\n') safe += "^J";
        else safe += c;
      }
      return text(safe);
    }
    if (version_ < DxfVersion::R2007) {
      // Files before 2007 hold texts in the drawing's code page; what it
      // cannot hold is written as \U+XXXX.
      for (unsigned char c : s)
        if (c >= 0x80) {
          line(platform::EncodeFromUtf8(s, codepage_, platform::Unrepresentable::kEscape).bytes);
          return;
        }
    }
    line(s);
  }
  void real(double v) {
    char buf[40];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    std::string_view s(buf, size_t(r.ptr - buf));
    out_.put(s);
    if (s.find_first_of(".en") == std::string_view::npos) out_.put(".0");
    out_.put('\n');
  }
  void integer(int64_t v) {
    char buf[24];
    auto r = std::to_chars(buf, buf + sizeof buf, v);
    line(std::string_view(buf, size_t(r.ptr - buf)));
  }
  void handle(uint64_t h) {
    char buf[24];
    auto r = std::to_chars(buf, buf + sizeof buf, h, 16);
    for (char* p = buf; p < r.ptr; ++p)
      if (*p >= 'a') *p = char(*p - 'a' + 'A');
    line(std::string_view(buf, size_t(r.ptr - buf)));
  }

  void tag(const TagCursor& c) {
    int k = c.code();
    switch (c.kind()) {
      case TagKind::String: code(k); text(c.str()); break;
      case TagKind::Real: code(k); real(c.real()); break;
      case TagKind::Int: code(k); integer(c.integer()); break;
      case TagKind::Handle: code(k); handle(c.handle()); break;
      case TagKind::Point2:
      case TagKind::Point3: {
        Point3 p = c.point();
        code(k); real(p.x);
        code(k + 10); real(p.y);
        if (c.kind() == TagKind::Point3) { code(k + 20); real(p.z); }
        break;
      }
    }
  }
  void tags(const TagList& list) {
    std::vector<uint8_t> blob = encodeTags(list);
    for (TagCursor c(blob.data(), uint32_t(blob.size())); !c.done(); c.next()) tag(c);
  }
  void object(uint32_t id) {
    code(0);
    line(db_.typeOf(id));
    for (TagCursor c = db_.tags(id); !c.done(); c.next()) tag(c);
  }
  void beginSection(std::string_view name) {
    code(0); line("SECTION");
    code(2); line(name);
  }
  void endSection() { code(0); line("ENDSEC"); }

  void writeHeader() {
    beginSection("HEADER");
    headerVar("$ACADVER", {Tag::str(1, versionCode(version_))});
    for (const HeaderVar& v : db_.headerVars()) {
      if (v.name == "$ACADVER") continue;
      if (v.name == "$HANDSEED") { headerVar(v.name, {Tag::handle(5, db_.nextHandle())}); continue; }
      headerVar(v.name, v.value);
    }
    if (!db_.headerVar("$HANDSEED")) headerVar("$HANDSEED", {Tag::handle(5, db_.nextHandle())});
    endSection();
  }
  void headerVar(std::string_view name, const TagList& value) {
    code(9);
    line(name);
    tags(value);
  }

  void writeRaw(const RawSection& s) {
    beginSection(s.name);
    tags(s.tags);
    endSection();
  }

  void writeTables() {
    beginSection("TABLES");
    for (const SymbolTable& t : db_.tables()) {
      if (t.object != kNoObject) writeTableObject(t);
      for (uint32_t id : t.records)
        if (!db_.isErased(id)) object(id);
      code(0); line("ENDTAB");
    }
    endSection();
  }
  // The table's record count (group 70) is written as it is now.
  void writeTableObject(const SymbolTable& t) {
    int64_t live = 0;
    for (uint32_t id : t.records) live += !db_.isErased(id);
    code(0); line("TABLE");
    bool counted = false;
    for (TagCursor c = db_.tags(t.object); !c.done(); c.next()) {
      if (c.code() == 70 && !counted) { code(70); integer(live); counted = true; continue; }
      tag(c);
    }
  }

  void entities(const BlockDef& b) {
    bool parentErased = false;
    for (uint32_t id : b.entities) {
      const ObjectRecord& r = db_.object(id);
      if (!(r.flags & kSubEntity)) parentErased = r.flags & kErased;
      if (parentErased || (r.flags & kErased)) continue;
      object(id);
    }
  }

  void writeBlocks() {
    beginSection("BLOCKS");
    uint32_t model = db_.modelSpace(), paper = db_.paperSpace();
    for (uint32_t i = 0; i < db_.blocks().size(); ++i) {
      const BlockDef& b = db_.blocks()[i];
      if (b.begin == kNoObject || db_.isErased(b.begin)) continue;
      object(b.begin);
      if (i != model && i != paper) entities(b);
      if (b.end != kNoObject) object(b.end);
      else { code(0); line("ENDBLK"); }
    }
    endSection();
  }

  void writeEntities() {
    beginSection("ENTITIES");
    if (uint32_t m = db_.modelSpace(); m != kNoObject) entities(db_.blocks()[m]);
    if (uint32_t p = db_.paperSpace(); p != kNoObject) entities(db_.blocks()[p]);
    endSection();
  }

  void writeObjects() {
    beginSection("OBJECTS");
    for (uint32_t id : db_.objectsSection())
      if (!db_.isErased(id)) object(id);
    endSection();
  }

  const Database& db_;
  Output& out_;
  DxfVersion version_;
  std::string codepage_;
};

DxfVersion targetVersion(const DxfWriteOptions& options) {
  DxfVersion v = options.version.value_or(DxfVersion::R2018);
  return v < DxfVersion::R2000 ? DxfVersion::R2018 : v;
}

DxfResult failure(DxfStatus s, std::string message) {
  DxfResult r;
  r.status = s;
  r.message = std::move(message);
  return r;
}

std::string folderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

std::string writeDxfString(const Database& db, const DxfWriteOptions& options) {
  Output out;
  DxfWriter(db, out, targetVersion(options)).write();
  return std::move(out.buffer());
}

DxfResult writeDxfFile(const Database& db, const std::string& path, const DxfWriteOptions& options) {
  if (options.version && *options.version < DxfVersion::R2000)
    return failure(DxfStatus::Unsupported, path + ": drawings are saved as DXF 2000 or later");
  std::string temp = folderOf(path) + "/.tarncad-save-XXXXXX";
  int fd = ::mkstemp(temp.data());
  if (fd < 0) return failure(DxfStatus::IoError, path + ": cannot create a file in " + folderOf(path) + ": " + std::strerror(errno));
  Output out(fd);
  DxfWriter(db, out, targetVersion(options)).write();
  bool ok = out.flush() && ::fsync(fd) == 0;
  int err = ok ? 0 : (out.error() ? out.error() : errno);
  ::fchmod(fd, 0644);
  ::close(fd);
  if (ok && ::rename(temp.c_str(), path.c_str()) != 0) { ok = false; err = errno; }
  if (!ok) {
    ::unlink(temp.c_str());
    return failure(DxfStatus::IoError, path + ": the drawing was not saved: " + std::strerror(err));
  }
  return {};
}

}  // namespace tarn::db
