// A tiny resource module for the tests: a string table and a dialog table,
// sorted by id and ended by a null text, exported as a resource module
// exports them.
#include <tarnsdk/tcplatform.h>

#define EXPORTED extern "C" __attribute__((visibility("default")))

EXPORTED const tcpl_resource_entry tcpl_string_table[] = {
    {100, "Hello"},
    {101, "Grüße aus Köln"},
    {205, ""},
    {300, "Select objects: "},
    {0, nullptr},
};

EXPORTED const tcpl_resource_entry tcpl_dialog_table[] = {
    {2001, "dialog 2001 \"Test\"\nbutton 1 \"OK\" default\n"},
    {0, nullptr},
};

// Something to look the module up by address.
EXPORTED int test_resources_marker(void) { return 42; }
