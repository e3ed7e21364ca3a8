// A resource module with dialog templates for the dialog tests: a good one
// and a damaged one.
#include <tarnsdk/tcplatform.h>

extern "C" __attribute__((visibility("default"))) const tcpl_resource_entry tcpl_dialog_table[] = {
    {3002,
     "dialog 3002 \"From the module\"\n"
     "edit 100 \"Name\"\n"
     "button 1 \"OK\" default\n"
     "button 2 \"Cancel\"\n"},
    {3003, "dialog 3003 \"Damaged\"\nslider 100 \"Size\"\n"},
    {0, nullptr},
};
