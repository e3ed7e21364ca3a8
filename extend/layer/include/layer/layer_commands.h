// The layer tools: the handlers of the layer family's commands, each a
// function of the command line registered by the module's command table.
#pragma once

namespace tarn::layer {

// Isolation (iso_commands.cpp).
void LayIso();
void LayUniso();

// Layer states by picking objects or for all layers (state_commands.cpp).
void LayOff();
void LayLck();
void LayUlk();
void LayOn();
void LayThw();
void LayCur();
void LayCur1();

// Moving objects between layers, deleting and merging layers
// (merge_commands.cpp); LAYDEL/-LAYDEL, LAYMCH/-LAYMCH and LAYMRG/-LAYMRG
// share one handler each.
void LayMch();
void LayDel();
void LayMrg();
void CopyToLayer();

// The layer walk dialog (walk_command.cpp).
void LayWalk();

}  // namespace tarn::layer
