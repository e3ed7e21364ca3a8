// DIMEDIT: the text of dimensions back home, new text, text rotation, and
// the obliquing angle of extension lines. The dimension's geometry block is
// kept in step for the text (position, rotation, content); the extension
// lines of an obliqued dimension are not redrawn (see the documentation).
#include <cmath>

#include "block_commands.h"
#include "block_support.h"
#include "command_support.h"
#include "db/subclasses.h"
#include "dim_text.h"
#include "geom/vec3.h"

namespace tarn::commands {
namespace {

using db::Tag;

constexpr int kUserTextPosition = 128;

bool cancelled(int status) { return status == RTCAN || status == RTERROR; }

enum class Edit { Home, New, Rotate, Oblique };

struct EditRequest {
  Edit edit = Edit::Home;
  std::string text;
  double degrees = 0;
};

std::vector<uint32_t> chooseDimensions(int& status) {
  std::vector<uint32_t> ids = withoutLocked(selectObjects(status)), out;
  for (uint32_t id : ids)
    if (drawing().typeOf(id) == "DIMENSION") out.push_back(id);
  if (ids.size() != out.size())
    print(std::to_string(ids.size() - out.size()) + " object(s) were not dimensions and are left alone.\n");
  return out;
}

void setGroup(db::TagList& tags, const Tag& value) {
  if (Tag* t = blocks::findIn(tags, value.code)) *t = value;
  else db::insertGroup("DIMENSION", tags, value);
}

void editOne(uint32_t dim, const EditRequest& req) {
  db::Database& d = drawing();
  db::TagList tags = d.tagList(dim);
  switch (req.edit) {
    case Edit::Home: {
      if (Tag* flags = blocks::findIn(tags, 70)) flags->i &= ~int64_t(kUserTextPosition);
      if (auto home = dims::homeTextPosition(d, dim)) setGroup(tags, Tag::point(11, *home));
      break;
    }
    case Edit::New: setGroup(tags, Tag::str(1, req.text)); break;
    case Edit::Rotate: setGroup(tags, Tag::real(53, req.degrees)); break;
    case Edit::Oblique: setGroup(tags, Tag::real(52, req.degrees)); break;
  }
  if (tags != d.tagList(dim)) d.replaceTags(dim, tags);
  if (req.edit != Edit::Oblique) dims::updateBlockText(d, dim);
}

// The option and what it needs before the selection.
int askEdit(EditRequest& req) {
  std::string option = "Home";
  Answer a = askKeyword("Enter type of dimension editing [Home/New/Rotate/Oblique] <Home>: ", "Home New Rotate Oblique",
                        option);
  if (cancelled(a.status)) return RTCAN;
  if (option == "New") {
    req.edit = Edit::New;
    Answer t = askString("Enter dimension text <>: ", req.text, true);
    if (cancelled(t.status)) return RTCAN;
    if (t.status == RTNONE) req.text.clear();  // the measurement
  } else if (option == "Rotate") {
    req.edit = Edit::Rotate;
    double radians = 0;
    Answer r = askAngle(nullptr, "Specify angle for dimension text: ", radians);
    if (cancelled(r.status)) return RTCAN;
    req.degrees = r.status == RTNORM ? radians * 180 / geom::kPi : 0;
  } else if (option == "Oblique") {
    req.edit = Edit::Oblique;
  }
  return RTNORM;
}

}  // namespace

int dimeditCommand() {
  EditRequest req;
  if (askEdit(req) != RTNORM) return RTCAN;
  int status = RTNORM;
  std::vector<uint32_t> dims = chooseDimensions(status);
  if (status == RTCAN) return RTCAN;
  if (dims.empty()) return RTNORM;
  if (req.edit == Edit::Oblique) {
    double radians = 0;
    Answer a = askAngle(nullptr, "Enter obliquing angle (press ENTER for none): ", radians);
    if (cancelled(a.status)) return RTCAN;
    req.degrees = a.status == RTNORM ? radians * 180 / geom::kPi : 0;
  }
  for (uint32_t id : dims) editOne(id, req);
  return RTNORM;
}

}  // namespace tarn::commands
