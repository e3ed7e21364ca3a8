// WMFOUT: the selected objects as the current view shows them, written to
// a placeable Windows metafile. The view's upper-left corner is the
// metafile's origin; one drawing unit is half an inch of the picture, so
// that WMFIN at scale 2 with that corner as insertion point puts the
// objects back where they were.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include <tarnsdk/tcedapi.h>
#include <tarnsdk/tcedgeom.h>
#include <tarnsdk/tcedinput.h>

#include "api/sysvars.h"
#include "command_support.h"
#include "wmf_commands.h"
#include "wmf_painter.h"

namespace tarn::commands {
namespace {

constexpr double kSpan = 30000;  // logical units across the longer side of the view, at most

db::Point3 pointVar(std::string_view name) {
  host::SysVarValue v;
  return host::getSysVar(name, v) ? v.point : db::Point3{};
}

geom::Vec3 trans(const geom::Vec3& p, short from, short to, bool displacement) {
  resbuf f{}, t{};
  f.restype = t.restype = RTSHORT;
  f.resval.rint = from;
  t.resval.rint = to;
  tc_point in = {p.x, p.y, p.z}, out = {p.x, p.y, p.z};
  tcedTrans(in, &f, &t, displacement ? 1 : 0, out);
  return {out[0], out[1], out[2]};
}

// World to display coordinates as one affine map.
geom::Matrix4 worldToDisplay() {
  geom::Vec3 o = trans({}, 0, 2, false), x = trans({1, 0, 0}, 0, 2, true), y = trans({0, 1, 0}, 0, 2, true),
             z = trans({0, 0, 1}, 0, 2, true);
  return geom::Matrix4({x.x, y.x, z.x, o.x, x.y, y.y, z.y, o.y, x.z, y.z, z.z, o.z, 0, 0, 0, 1});
}

struct Frame {
  wmf::ViewMapping mapping;
  wmf::Rect rect;
  uint16_t unitsPerInch = 1;
};

// The current view (VIEWCTR, VIEWSIZE and the SCREENSIZE aspect) in
// logical units. Half scale (units per inch = 2 x units per drawing unit)
// while the view fits the 16-bit range; a larger view is scaled down to fit.
Frame currentFrame() {
  db::Point3 c = pointVar("VIEWCTR"), screen = pointVar("SCREENSIZE");
  geom::Vec3 centre = trans({c.x, c.y, c.z}, 1, 2, false);
  double h = realVar("VIEWSIZE", 1);
  if (!(h > 0)) h = 1;
  double w = screen.x > 0 && screen.y > 0 ? h * screen.x / screen.y : h;
  double longer = std::max(w, h);
  Frame f;
  double inch = std::clamp(std::floor(2 * kSpan / longer), 1.0, 65535.0);
  double k = inch / 2;
  if (longer * k > kSpan) k = kSpan / longer;
  f.unitsPerInch = uint16_t(inch);
  double left = centre.x - w / 2, top = centre.y + h / 2;
  geom::Matrix4 toFrame({k, 0, 0, -k * left, 0, -k, 0, k * top, 0, 0, 1, 0, 0, 0, 0, 1});
  f.mapping.worldToLogical = toFrame * worldToDisplay();
  f.mapping.width = std::round(w * k);
  f.mapping.height = std::round(h * k);
  f.mapping.unitsPerDrawingUnit = k;
  f.rect = {0, 0, int16_t(f.mapping.width), int16_t(f.mapping.height)};
  return f;
}

std::string defaultFileName() {
  std::filesystem::path name(textVar("DWGNAME"));
  return textVar("DWGPREFIX") + name.stem().string() + ".wmf";
}

// Written beside the target and renamed into place.
bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error) {
  std::string temp = path + ".XXXXXX";
  int fd = mkstemp(temp.data());
  if (fd < 0) return error = std::strerror(errno), false;
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += size_t(n);
  }
  bool ok = done == bytes.size() && ::fsync(fd) == 0;
  if (!ok) error = std::strerror(errno);
  if (::close(fd) != 0 && ok) ok = false, error = std::strerror(errno);
  if (ok && std::rename(temp.c_str(), path.c_str()) != 0) ok = false, error = std::strerror(errno);
  if (!ok) std::remove(temp.c_str());
  return ok;
}

}  // namespace

bool metafileTextFill() {
  char value[64] = {0};
  if (tcedGetEnv("TextFill", value, sizeof value) != RTNORM) return true;
  char* end = nullptr;
  double v = std::strtod(value, &end);
  return end == value || v != 0;  // an unreadable value keeps the default
}

int wmfoutCommand() {
  resbuf chosen{};
  std::string dflt = defaultFileName();
  if (tcedGetFileD("Enter file name", dflt.c_str(), "wmf", 1, &chosen) != RTNORM) return RTCAN;
  std::string path = chosen.resval.rstring;
  std::free(chosen.resval.rstring);
  int status = RTNORM;
  std::vector<uint32_t> ids = selectObjects(status);
  if (status == RTCAN) return RTCAN;
  if (ids.empty()) {
    print("Nothing selected: no metafile written.\n");
    return RTNORM;
  }
  Frame frame = currentFrame();
  wmf::Writer writer(frame.rect, frame.unitsPerInch);
  wmf::Painter painter(drawing(), frame.mapping, writer, !metafileTextFill());
  size_t shown = 0;
  for (uint32_t id : ids) shown += painter.draw(id) ? 1 : 0;
  std::string error;
  if (!writeFile(path, writer.finish(), error)) {
    print("Cannot write " + path + ": " + error + "\n");
    return RTERROR;
  }
  if (shown < ids.size())
    print(std::to_string(ids.size() - shown) + " of " + std::to_string(ids.size()) +
          " objects were outside the view or not shown.\n");
  return RTNORM;
}

}  // namespace tarn::commands
