// -LINETYPE (and LINETYPE, the same at the command line): load linetypes
// from a ".lin" file found on the support path (reloading one the drawing
// has only when the user says so), list the drawing's linetypes, and set the
// current one (CELTYPE).
#include <fstream>
#include <sstream>

#include <tarnsdk/tcedinput.h>

#include "command_support.h"
#include "db/records.h"
#include "linetype_file.h"
#include "select/wildcard.h"
#include "view_commands.h"

namespace tarn::commands {
namespace {

using db::Tag;
using db::TagList;

bool cancelled(const Answer& a) { return a.status == RTCAN || a.status == RTERROR; }

bool builtIn(std::string_view name) {
  return db::equalsNoCase(name, "CONTINUOUS") || db::equalsNoCase(name, "BYLAYER") ||
         db::equalsNoCase(name, "BYBLOCK");
}

// The groups of one element: its length, its kind (74) and what it embeds.
// An embedded text needs its style in the drawing, and a shape its number
// from the shape file, which is not read here: without them the element
// stays a plain dash or gap, and the caller says so.
bool addElement(const LinetypeElement& e, TagList& out) {
  out.push_back(Tag::real(49, e.length));
  uint32_t style = e.embedded == LinetypeElement::Embedded::Text ? drawing().findRecord("STYLE", e.source)
                                                                   : db::kNoObject;
  if (style == db::kNoObject) {
    out.push_back(Tag::integer(74, 0));
    return e.embedded == LinetypeElement::Embedded::None;
  }
  out.insert(out.end(), {Tag::integer(74, 2 | (e.absoluteRotation ? 1 : 0)), Tag::integer(75, 0),
                         Tag::handle(340, drawing().object(style).handle), Tag::real(46, e.scale),
                         Tag::real(50, e.rotation), Tag::real(44, e.xOffset), Tag::real(45, e.yOffset),
                         Tag::str(9, e.text)});
  return true;
}

TagList recordData(const LinetypeDefinition& def) {
  TagList data = {Tag::integer(70, 0), Tag::str(3, def.description), Tag::integer(72, 65),
                  Tag::integer(73, int64_t(def.elements.size())), Tag::real(40, def.patternLength())};
  bool complete = true;
  for (const LinetypeElement& e : def.elements) complete = addElement(e, data) && complete;
  if (!complete)
    print("Linetype " + def.name + ": embedded shapes, and texts whose style the drawing lacks, are left out.\n");
  return data;
}

// Adds the linetype, or replaces the definition of the one of that name
// when the user agrees. False when cancelled.
bool loadOne(const LinetypeDefinition& def) {
  db::Database& d = drawing();
  if (builtIn(def.name)) {
    print("Linetype " + def.name + " is built in and cannot be loaded.\n");
    return true;
  }
  uint32_t id = d.findRecord("LTYPE", def.name);
  if (id == db::kNoObject) {
    if (db::addTableRecord(d, "LTYPE", def.name, recordData(def)) == db::kNoObject) {
      print("The drawing has no linetype table.\n");
      return true;
    }
    print("Linetype " + def.name + " loaded.\n");
    return true;
  }
  std::string answer;
  Answer a = askKeyword("Linetype " + def.name + " is already loaded.  Reload it? <Y>: ", "Yes No", answer);
  if (cancelled(a)) return false;
  if (answer == "No") return true;
  d.replaceTags(id, recordWithData(id, recordData(def)));
  print("Linetype " + def.name + " reloaded.\n");
  return true;
}

bool readFile(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  text = s.str();
  return true;
}

// The file the user names, found on the support path ("" when not found).
std::string findLinFile(std::string name) {
  if (name.size() < 4 || !db::equalsNoCase(std::string_view(name).substr(name.size() - 4), ".lin")) name += ".lin";
  char found[4096] = {0};
  if (tcedFindFile(name.c_str(), found, sizeof found) != RTNORM) {
    print("Cannot find linetype file \"" + name + "\".\n");
    return {};
  }
  return found;
}

int loadOption() {
  std::string names, file;
  Answer a = askString("Enter linetype(s) to load: ", names);
  if (a.status != RTNORM) return cancelled(a) ? RTCAN : RTNORM;
  a = askString("Enter name of linetype file to search <TARNCAD.lin>: ", file);
  if (cancelled(a)) return RTCAN;
  std::string path = findLinFile(file.empty() ? "TARNCAD.lin" : file);
  std::string text, error;
  std::vector<LinetypeDefinition> defs;
  if (path.empty()) return RTERROR;
  if (!readFile(path, text)) {
    print("Cannot read linetype file \"" + path + "\".\n");
    return RTERROR;
  }
  if (!parseLinetypes(text, path, defs, error)) {
    print(error + "\n");
    return RTERROR;
  }
  select::Wildcard w = select::Wildcard::compile(names);
  bool any = false;
  for (const LinetypeDefinition& def : defs) {
    if (!w.matches(def.name)) continue;
    any = true;
    if (!loadOne(def)) return RTCAN;
  }
  if (!any) print("Linetype " + names + " not found in file " + path + ".\n");
  return any ? RTNORM : RTERROR;
}

int listOption() {
  std::string names;
  Answer a = askString("Enter linetype(s) to list <*>: ", names);
  if (cancelled(a)) return RTCAN;
  select::Wildcard w = select::Wildcard::compile(names.empty() ? "*" : names);
  const db::Database& d = drawing();
  print("\nLinetypes of this drawing:\n");
  if (const db::SymbolTable* t = d.table("LTYPE"))
    for (uint32_t id : t->records) {
      std::string_view name = db::findString(d, id, 2);
      if (!d.isErased(id) && w.matches(name))
        print(std::string(name) + "    " + std::string(db::findString(d, id, 3)) + "\n");
    }
  return RTNORM;
}

int setOption() {
  std::string name, current = textVar("CELTYPE");
  Answer a = askString("Specify linetype name or [?] <" + current + ">: ", name);
  if (a.status != RTNORM) return cancelled(a) ? RTCAN : RTNORM;
  if (name == "?") return listOption();
  if (db::equalsNoCase(name, "BYLAYER") || db::equalsNoCase(name, "BYBLOCK")) {
    setTextVar("CELTYPE", db::equalsNoCase(name, "BYLAYER") ? "ByLayer" : "ByBlock");
    return RTNORM;
  }
  uint32_t id = drawing().findRecord("LTYPE", name);
  if (id == db::kNoObject) {
    print("Linetype " + name + " not found.  Use the Load option to load it.\n");
    return RTERROR;
  }
  setTextVar("CELTYPE", db::findString(drawing(), id, 2));
  return RTNORM;
}

}  // namespace

int linetypeCommand() {
  for (;;) {
    print("Current line type:  \"" + textVar("CELTYPE") + "\"\n");
    std::string option;
    Answer a = askKeyword("Enter an option [?/Load/Set]: ", "? Load Set", option);
    if (cancelled(a)) return RTCAN;
    if (a.status == RTNONE) return RTNORM;
    int rc = option == "Load" ? loadOption() : option == "Set" ? setOption() : listOption();
    if (rc == RTCAN) return RTCAN;
  }
}

}  // namespace tarn::commands
