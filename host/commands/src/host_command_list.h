// The handlers of the host commands, each a function of the command line.
#pragma once

namespace tarn::commands {

int uCommand();
int undoCommand();
int layerCommand();
int eraseCommand();
int moveCommand();
int copyCommand();
int mirrorCommand();
int lineCommand();
int plineCommand();
int circleCommand();
int arcCommand();
int pointCommand();
int textCommand();
int listCommand();
int idCommand();
int distCommand();
int selectCommand();
int redrawCommand();
int regenCommand();
int orthoCommand();

}  // namespace tarn::commands
