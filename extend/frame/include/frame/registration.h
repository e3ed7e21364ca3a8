// The module's frame towards the host: its command table and LISP function
// table, registering and unregistering them, and the answers to the host's
// application messages.
#pragma once

#include <cstdint>
#include <span>

#include <tarnsdk/tcplatform.h>
#include <tarnsdk/tcrxapi.h>

namespace tarn::frame {

inline constexpr char kCommandGroup[] = "TARN_EXTEND_COMMANDS";
inline constexpr char kPresenceService[] = "TarnExtendService";
inline constexpr char kLanguageModule[] = "TarnUinfo";
inline constexpr char kResourceModuleFile[] = "TarnExtendRes.dll";

// A command of the module: its global name, the string id of its local name
// and its flags (the command table, in registration order).
struct CommandName {
    const char* globalName;
    uint32_t localNameId;
    int32_t flags;
};

// The handler of a command, by global name. Commands of families not yet
// built have no handler row and are not registered.
struct CommandHandlerRow {
    const char* globalName;
    TcRxFunctionPtr handler;
};

// A LISP function; its position in the table is its function code.
using LispHandler = int (*)(struct resbuf* args);
struct LispFunctionRow {
    const char* globalName;
    uint32_t localNameId;
    LispHandler handler;
};

// What the module registers.
struct ModuleTables {
    std::span<const CommandName> commands;
    std::span<const CommandHandlerRow> handlers;
    std::span<const LispFunctionRow> lispFunctions;
};

// The command stack from the host's system registry, or null when the entry
// is missing or is not a command stack.
TcEdCommandStack* FindCommandStack();

// Registers the presence service and every command of `commands` that has a
// handler, in table order, inside a resource-handle bracket. The answer of
// the command stack is not examined: a refused name leaves that command out.
// Returns how many commands the host took.
int RegisterCommands(std::span<const CommandName> commands, std::span<const CommandHandlerRow> handlers);
// Removes the presence service and the command group; harmless when run twice.
void UnregisterCommands();

// Defines the LISP functions in the current drawing: RTNORM, or RTERROR at
// the first one the host refuses (the rest are not defined).
int DefineLispFunctions(std::span<const LispFunctionRow> functions);
// Runs the function the host calls back: RTERROR after "Incorrect function
// code." for a code outside the table, else the handler's status.
int DispatchLispCall(std::span<const LispFunctionRow> functions);

// The resource module for the user's language, found through the language
// module that the host has loaded; null when either is missing.
tcpl_module FindResourceModule();

// The answer to one application message (0 or 3).
int HandleMessage(int message, void* appId, const ModuleTables& tables);

}  // namespace tarn::frame
