// The current view and UCS of the headless host and their histories.
//
// The view is kept in the system variables VIEWCTR (centre, UCS
// coordinates), VIEWSIZE (height in drawing units), VIEWDIR (direction
// towards the viewer, UCS) and SCREENSIZE (the pixels the view fills, whose
// ratio is the view's width to height). The UCS is kept in the drawing's
// header (UCSORG, UCSXDIR, UCSYDIR, UCSNAME). Each drawing has its own
// histories of earlier views (ZOOM Previous) and UCSs (UCS Previous).
#pragma once

#include <optional>
#include <string>

#include "command_support.h"
#include "geom/bounding_box.h"

namespace tarn::commands {

// A view in world terms, so that it survives a change of UCS.
struct ViewState {
  geom::Vec3 centre;                   // world
  double height = 297;                 // drawing units
  geom::Vec3 direction = geom::kZAxis; // world, towards the viewer
};

ViewState currentView();
// Makes `view` current (in terms of the current UCS); the view shown before
// goes onto the drawing's view history when `remember`.
void setView(const ViewState& view, bool remember = true);
// The last view of the history, taken off it; nothing when it is empty.
std::optional<ViewState> takePreviousView();
// Width over height of the screen the view fills.
double screenAspect();
// The display system of a view: X to the right, Y up, Z towards the viewer.
geom::ViewSpec displayOf(const ViewState& view);
// The view of `direction` that shows the world box `box` (its corners in
// display terms) whole; the current height when the box has no size.
ViewState viewOfBox(const geom::BoundingBox& box, const geom::Vec3& direction);

struct NamedUcs {
  geom::Ucs ucs;
  std::string name;  // "" for an unnamed UCS
};

NamedUcs currentNamedUcs();
bool isWorldUcs(const geom::Ucs& ucs);
// Makes a UCS current, keeping the view where it is; the UCS it replaces
// goes onto the drawing's UCS history when `remember`.
void makeUcsCurrent(const NamedUcs& ucs, bool remember = true);
std::optional<NamedUcs> takePreviousUcs();

// A named UCS of the drawing's UCS table.
std::optional<NamedUcs> savedUcs(std::string_view name);

}  // namespace tarn::commands
