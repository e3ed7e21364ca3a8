// -LAYER (and LAYER, which has no dialog here): the layer options of the
// command line, each asking for a name list (comma lists and wildcards,
// "`" escaping a wildcard character that is part of a name).
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <utility>

#include "command_support.h"
#include "db/records.h"
#include "host_command_list.h"
#include "commands/layer_fade.h"
#include "select/wildcard.h"

namespace tarn::commands {
namespace {

using db::Tag;
using db::TagList;

constexpr const char* kOptions = "? Make Set New ON OFf Color Ltype Freeze Thaw LOck Unlock";
constexpr const char* kOptionPrompt =
    "Enter an option [?/Make/Set/New/ON/OFF/Color/Ltype/Freeze/Thaw/LOck/Unlock]: ";
constexpr int kFrozen = 1, kLocked = 4;

std::vector<uint32_t> allLayers() {
  std::vector<uint32_t> out;
  if (const db::SymbolTable* t = std::as_const(drawing()).table("LAYER"))
    for (uint32_t id : t->records)
      if (!drawing().isErased(id)) out.push_back(id);
  return out;
}

std::string layerName(uint32_t id) { return std::string(db::findString(drawing(), id, 2)); }
int layerFlags(uint32_t id) { auto t = db::findTag(drawing(), id, 70); return t ? int(t->i) : 0; }
int layerColour(uint32_t id) { auto t = db::findTag(drawing(), id, 62); return t ? int(t->i) : 7; }
bool isCurrent(uint32_t id) { return db::equalsNoCase(layerName(id), textVar("CLAYER")); }

// Changes a layer record's groups; an absent group is added after the flags.
void setGroup(uint32_t id, const Tag& value) {
  TagList tags = drawing().tagList(id);
  size_t after = tags.size();
  for (size_t i = 0; i < tags.size(); ++i) {
    if (tags[i].code == value.code) {
      if (tags[i] == value) return;
      tags[i] = value;
      drawing().replaceTags(id, tags);
      return;
    }
    if (tags[i].code == 70) after = i + 1;
  }
  tags.insert(tags.begin() + long(after), value);
  drawing().replaceTags(id, tags);
}

void setFlag(uint32_t id, int bit, bool on) {
  int flags = layerFlags(id);
  setGroup(id, Tag::integer(70, on ? flags | bit : flags & ~bit));
}

void setOn(uint32_t id, bool on) {
  int c = std::abs(layerColour(id));
  setGroup(id, Tag::integer(62, on ? c : -c));
}

std::vector<uint32_t> matching(const std::string& list) {
  select::Wildcard w = select::Wildcard::compile(list);
  std::vector<uint32_t> out;
  for (uint32_t id : allLayers())
    if (w.matches(layerName(id))) out.push_back(id);
  return out;
}

// The layers of objects the user selects.
std::vector<uint32_t> layersOfSelection() {
  int status = RTNORM;
  std::vector<uint32_t> out;
  for (uint32_t e : selectObjects(status)) {
    uint32_t layer = drawing().findRecord("LAYER", db::findString(drawing(), e, 8, "0"));
    if (layer != db::kNoObject && std::find(out.begin(), out.end(), layer) == out.end()) out.push_back(layer);
  }
  return out;
}

// Asks for a name list; Enter selects objects when `orSelect`, or takes
// the current layer when `dflt` says so. False on cancel.
bool askLayers(const std::string& prompt, std::vector<uint32_t>& layers, bool orSelect, bool currentByDefault = false) {
  std::string list;
  Answer a = askString(prompt, list);
  if (a.status == RTCAN || a.status == RTERROR) return false;
  if (a.status == RTNONE) {
    if (orSelect) layers = layersOfSelection();
    else if (currentByDefault) layers = matching(textVar("CLAYER"));
    return true;
  }
  layers = matching(list);
  if (layers.empty()) print("No matching layer names found.\n");
  return true;
}

bool confirmCurrentOff(uint32_t id) {
  std::string answer;
  Answer a = askKeyword("Really want layer " + layerName(id) + " (the CURRENT layer) off? [Yes/No] <N>: ",
                        "Yes No", answer);
  return a.status == RTNORM && answer == "Yes";
}

int turnOff() {
  std::vector<uint32_t> layers;
  if (!askLayers("Enter name list of layer(s) to turn off or <select objects>: ", layers, true)) return RTCAN;
  for (uint32_t id : layers)
    if (!isCurrent(id) || confirmCurrentOff(id)) setOn(id, false);
  return RTNORM;
}

int turnOn() {
  std::vector<uint32_t> layers;
  if (!askLayers("Enter name list of layer(s) to turn on: ", layers, false)) return RTCAN;
  for (uint32_t id : layers) setOn(id, true);
  return RTNORM;
}

int freeze() {
  std::vector<uint32_t> layers;
  if (!askLayers("Enter name list of layer(s) to freeze or <select objects>: ", layers, true)) return RTCAN;
  for (uint32_t id : layers) {
    if (isCurrent(id)) print("Cannot freeze layer \"" + layerName(id) + "\".  It is the CURRENT layer.\n");
    else setFlag(id, kFrozen, true);
  }
  return RTNORM;
}

int flagOption(const std::string& prompt, int bit, bool on, bool orSelect) {
  std::vector<uint32_t> layers;
  if (!askLayers(prompt, layers, orSelect)) return RTCAN;
  for (uint32_t id : layers) setFlag(id, bit, on);
  if (bit == kLocked) refreshLayerFades();  // locked layers show faded by LAYLOCKFADECTL
  return RTNORM;
}

// Names of a New or Make reply: the comma list, "`" taking the next
// character as it is.
std::vector<std::string> splitNames(const std::string& list) {
  std::vector<std::string> out(1);
  for (size_t i = 0; i < list.size(); ++i) {
    if (list[i] == '`' && i + 1 < list.size()) out.back() += list[++i];
    else if (list[i] == ',') out.emplace_back();
    else out.back() += list[i];
  }
  std::erase_if(out, [](const std::string& n) { return n.empty(); });
  return out;
}

bool validName(const std::string& name) {
  return name.find_first_of("<>/\\\":;?*|=`") == std::string::npos && name.size() <= 255;
}

uint32_t makeLayer(const std::string& name) {
  if (!validName(name)) {
    print("Invalid layer name \"" + name + "\".\n");
    return db::kNoObject;
  }
  uint32_t id = db::ensureLayer(drawing(), name);
  if (id == db::kNoObject) print("Cannot create layer \"" + name + "\".\n");
  return id;
}

int newLayers() {
  std::string list;
  Answer a = askString("Enter name list for new layer(s): ", list);
  if (a.status == RTCAN || a.status == RTERROR) return RTCAN;
  for (const std::string& n : splitNames(list)) makeLayer(n);
  return RTNORM;
}

bool makeCurrent(uint32_t id) {
  if (layerFlags(id) & kFrozen) {
    print("Cannot set current layer to a frozen layer.\n");
    return false;
  }
  setTextVar("CLAYER", layerName(id));
  return true;
}

int makeOption() {
  std::string name;
  Answer a = askString("Enter name for new layer (becomes the current layer) <" + textVar("CLAYER") + ">: ", name);
  if (a.status == RTCAN || a.status == RTERROR) return RTCAN;
  if (a.status == RTNONE) return RTNORM;
  std::vector<std::string> names = splitNames(name);
  if (names.size() != 1) {
    print("Invalid layer name \"" + name + "\".\n");
    return RTNORM;
  }
  uint32_t id = makeLayer(names.front());
  if (id != db::kNoObject) makeCurrent(id);
  return RTNORM;
}

int setOption() {
  std::string name;
  Answer a = askString("Enter layer name to make current or <select object>: ", name);
  if (a.status == RTCAN || a.status == RTERROR) return RTCAN;
  std::vector<uint32_t> layers;
  if (a.status == RTNONE) layers = layersOfSelection();
  else {
    std::vector<std::string> names = splitNames(name);
    uint32_t id = names.size() == 1 ? drawing().findRecord("LAYER", names.front()) : db::kNoObject;
    if (id == db::kNoObject) print("Cannot find layer \"" + name + "\".\n");
    else layers.push_back(id);
  }
  if (!layers.empty()) makeCurrent(layers.front());
  return RTNORM;
}

// A colour by number (1-255) or by the name of one of the first seven.
int parseColour(const std::string& text) {
  static const char* kNames[] = {"red", "yellow", "green", "cyan", "blue", "magenta", "white"};
  for (int i = 0; i < 7; ++i)
    if (db::equalsNoCase(text, kNames[i])) return i + 1;
  char* end = nullptr;
  long v = std::strtol(text.c_str(), &end, 10);
  return end && *end == 0 && v >= 1 && v <= 255 ? int(v) : 0;
}

int colourOption() {
  std::string text;
  int colour = 0;
  while (!colour) {
    Answer a = askString("Enter color name or number (1-255): ", text);
    if (a.status != RTNORM) return a.status == RTNONE ? RTNORM : RTCAN;
    if (!(colour = parseColour(text))) print("Invalid color \"" + text + "\".\n");
  }
  std::vector<uint32_t> layers;
  if (!askLayers("Enter name list of layer(s) for color " + std::to_string(colour) + " <" + textVar("CLAYER") + ">: ",
                 layers, false, true))
    return RTCAN;
  for (uint32_t id : layers) setGroup(id, Tag::integer(62, layerColour(id) < 0 ? -colour : colour));
  return RTNORM;
}

int linetypeOption() {
  std::string name;
  Answer a = askString("Enter a loaded linetype name or [?] <Continuous>: ", name);
  if (a.status == RTCAN || a.status == RTERROR) return RTCAN;
  if (a.status == RTNONE) name = "Continuous";
  uint32_t lt = drawing().findRecord("LTYPE", name);
  if (lt == db::kNoObject) {
    print("Linetype \"" + name + "\" not found.  Use the LINETYPE command to load it.\n");
    return RTNORM;
  }
  std::string stored(db::findString(drawing(), lt, 2));
  std::vector<uint32_t> layers;
  if (!askLayers("Enter name list of layer(s) for linetype \"" + stored + "\" <" + textVar("CLAYER") + ">: ", layers,
                 false, true))
    return RTCAN;
  for (uint32_t id : layers) setGroup(id, Tag::str(6, stored));
  return RTNORM;
}

std::string describe(uint32_t id) {
  int flags = layerFlags(id), colour = layerColour(id);
  std::string state = colour < 0 ? "Off" : "On";
  if (flags & kFrozen) state += ", Frozen";
  if (flags & kLocked) state += ", Locked";
  return layerName(id) + "  " + state + "  colour " + std::to_string(std::abs(colour)) + "  " +
         std::string(db::findString(drawing(), id, 6, "Continuous")) + "\n";
}

int listOption() {
  std::string list;
  Answer a = askString("Enter layer name(s) to list <*>: ", list);
  if (a.status == RTCAN || a.status == RTERROR) return RTCAN;
  if (a.status == RTNONE) list = "*";
  std::vector<uint32_t> layers = matching(list);
  print("Layer name  State  Color  Linetype\n");
  for (uint32_t id : layers) print(describe(id));
  print("Current layer:  " + textVar("CLAYER") + "\n");
  return RTNORM;
}

int runOption(const std::string& option) {
  static const std::vector<std::pair<const char*, std::function<int()>>> kTable = {
      {"?", listOption},
      {"Make", makeOption},
      {"Set", setOption},
      {"New", newLayers},
      {"ON", turnOn},
      {"OFf", turnOff},
      {"Color", colourOption},
      {"Ltype", linetypeOption},
      {"Freeze", freeze},
      {"Thaw", [] { return flagOption("Enter name list of layer(s) to thaw: ", kFrozen, false, false); }},
      {"LOck", [] { return flagOption("Enter name list of layer(s) to lock or <select objects>: ", kLocked, true, true); }},
      {"Unlock",
       [] { return flagOption("Enter name list of layer(s) to unlock or <select objects>: ", kLocked, false, true); }},
  };
  for (const auto& [name, run] : kTable)
    if (option == name) return run();
  return RTNORM;
}

}  // namespace

int layerCommand() {
  if (editor::currentEditor().echoing()) print("Current layer:  \"" + textVar("CLAYER") + "\"\n");
  for (;;) {
    std::string option;
    Answer a = askKeyword(kOptionPrompt, kOptions, option);
    if (a.status == RTNONE) return RTNORM;
    if (a.status != RTNORM) return RTCAN;
    if (runOption(option) == RTCAN) return RTCAN;
  }
}

}  // namespace tarn::commands
