// Registering the module's commands and presence service with the host, and
// taking them down again.
#include "frame/registration.h"

#include <cstring>
#include <string>

#include <tarnsdk/tcedinput.h>
#include <tarnsdk/tcutapi.h>

#include "frame/command_environment.h"

namespace tarn::frame {
namespace {

// An object of the system registry, if it is of the class asked for.
TcRxObject* SystemObject(const char* key, const char* className) {
    TcRxDictionary* registry = tcrxSysRegistry();
    if (registry == nullptr) return nullptr;
    TcRxObject* object = registry->at(key);
    if (object == nullptr || std::strcmp(object->className(), className) != 0) return nullptr;
    return object;
}

TcRxFunctionPtr HandlerOf(const CommandName& command, std::span<const CommandHandlerRow> handlers) {
    for (const CommandHandlerRow& row : handlers)
        if (row.globalName != nullptr && std::strcmp(row.globalName, command.globalName) == 0) return row.handler;
    return nullptr;
}

void RemovePresenceService() {
    if (!tcrxServiceIsRegistered(kPresenceService)) return;
    auto* services =
        static_cast<TcRxDictionary*>(SystemObject(TCRX_SERVICE_DICTIONARY, "TcRxDictionary"));
    if (services == nullptr) return;
    delete services->remove(kPresenceService);
}

}  // namespace

TcEdCommandStack* FindCommandStack() {
    return static_cast<TcEdCommandStack*>(SystemObject(TCRX_COMMAND_STACK, "TcEdCommandStack"));
}

int RegisterCommands(std::span<const CommandName> commands, std::span<const CommandHandlerRow> handlers) {
    ResourceScope resources;
    if (!tcrxServiceIsRegistered(kPresenceService)) tcrxRegisterService(kPresenceService);
    int taken = 0;
    for (const CommandName& command : commands) {
        const TcRxFunctionPtr handler = HandlerOf(command, handlers);
        if (handler == nullptr) continue;
        // Looked up for every row, as the host may replace its stack while
        // modules register; a missing stack leaves the row out.
        TcEdCommandStack* stack = FindCommandStack();
        if (stack == nullptr) continue;
        const std::string localName = LoadResString(command.localNameId);
        if (stack->addCommand(kCommandGroup, command.globalName, localName.c_str(), command.flags, handler))
            ++taken;
    }
    return taken;
}

void UnregisterCommands() {
    RemovePresenceService();
    if (TcEdCommandStack* stack = FindCommandStack()) stack->removeGroup(kCommandGroup);
}

int DefineLispFunctions(std::span<const LispFunctionRow> functions) {
    for (size_t code = 0; code < functions.size(); ++code) {
        const std::string localName = LoadResString(functions[code].localNameId);
        if (tcedDefun(functions[code].globalName, localName.c_str(), static_cast<int>(code)) != RTNORM)
            return RTERROR;
    }
    return RTNORM;
}

int DispatchLispCall(std::span<const LispFunctionRow> functions) {
    const int code = tcedGetFunCode();
    if (code < 0 || static_cast<size_t>(code) >= functions.size()) {
        tcutPrintf("\nIncorrect function code.");
        return RTERROR;
    }
    struct resbuf* args = tcedGetArgs();
    const int status = functions[static_cast<size_t>(code)].handler(args);
    tcutRelRb(args);
    return status;
}

}  // namespace tarn::frame
