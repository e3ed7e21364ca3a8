// WMFOUT and WMFIN, and what both share: the metafile setting "TextFill".
#pragma once

namespace tarn::commands {

int wmfoutCommand();
int wmfinCommand();

// The metafile setting "TextFill" (an environment value of the host, 1 when
// it was never set): 1 writes texts as texts, 0 as the outlines of their
// characters.
bool metafileTextFill();

}  // namespace tarn::commands
