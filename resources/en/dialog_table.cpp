// The English dialog templates, sorted by id: each command family keeps its
// templates in dialogs/<family>.inc as rows {id, "template text"}, included
// here in ascending order of their ids.
#include <tarnsdk/tcplatform.h>

extern "C" {
__attribute__((visibility("default"))) extern const tcpl_resource_entry tcpl_dialog_table[];
const tcpl_resource_entry tcpl_dialog_table[] = {
#if __has_include("dialogs/copy_to_layer.inc")
#include "dialogs/copy_to_layer.inc"  // 2290
#endif
#if __has_include("dialogs/layer_walk.inc")
#include "dialogs/layer_walk.inc"  // 2300-2339
#endif
    {0u, nullptr},
};
}
