// The destination dialog of COPYTOLAYER: the layers of the drawing in a
// list, an edit field for the name (an existing layer or a new one), OK,
// Cancel, and "Select Object <" to pick an object on the destination layer
// in the drawing instead.
#pragma once

#include <string>
#include <string_view>

namespace tarn::layer {

// The dialog's template in the resource module.
inline constexpr unsigned kCopyToLayerDialogId = 2290;

struct DestinationChoice {
    enum Kind { Layer, PickObject, Cancelled } kind = Cancelled;
    std::string name;    // Layer: the layer table's spelling, or the new name
    bool isNew = false;  // Layer: no layer of this name exists yet
};

// Shows the dialog (the resource bracket must be open).
DestinationChoice ChooseDestinationInDialog();

// A name the drawing can take for a new layer: 1 to 255 characters, none
// of < > / \ " : ; ? * | = ` , and no control characters.
bool IsValidNewLayerName(std::string_view name);

}  // namespace tarn::layer
