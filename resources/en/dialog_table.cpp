// The English dialog templates, sorted by id. No dialog of the module is
// built yet, so the table holds only its end marker.
#include <tarnsdk/tcplatform.h>

extern "C" {
__attribute__((visibility("default"))) extern const tcpl_resource_entry tcpl_dialog_table[];
const tcpl_resource_entry tcpl_dialog_table[] = {
    {0u, nullptr},
};
}
