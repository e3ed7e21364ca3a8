// The host library's own export: the interface stamp the host was built
// with, for tools that inspect a libtarnhost.so. Everything else in the
// library comes from the host's static libraries, linked whole.
#include <tarnsdk/tcrxapi.h>

extern "C" TCRX_EXPORT uint32_t tarnHostApiVersion(void) { return TCRX_API_VERSION; }
