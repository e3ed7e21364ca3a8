// A badly built resource module: its string table is out of order and it
// has no dialog table. The platform calls must still find its strings.
#include <tarnsdk/tcplatform.h>

extern "C" __attribute__((visibility("default"))) const tcpl_resource_entry tcpl_string_table[] = {
    {30, "thirty"},
    {10, "ten"},
    {20, "twenty"},
    {0, nullptr},
};
