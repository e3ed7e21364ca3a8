// What every command handler of the module shares while it runs: the quiet
// bracket around host commands, the pickfirst bracket, the resource-handle
// bracket and the loading of texts from the resource module by string id.
#pragma once

#include <cstdint>
#include <string>

#include <tarnsdk/tctypes.h>

namespace tarn::frame {

// Saves CMDECHO, BLIPMODE and EXPERT and sets each to 0 so that host
// commands issued by the module run silently; puts the saved values back
// when the scope ends, whichever way the command leaves (cancel included).
// Leave() and Enter() let a command step out between two host commands.
class QuietCommandScope {
public:
    QuietCommandScope();
    ~QuietCommandScope();
    QuietCommandScope(const QuietCommandScope&) = delete;
    QuietCommandScope& operator=(const QuietCommandScope&) = delete;

    // Saves the three variables and silences them (no effect when entered).
    void Enter();
    // Restores the saved values (no effect when not entered).
    void Leave();
    bool IsEntered() const { return entered_; }

private:
    static constexpr int kCount = 3;
    struct resbuf saved_[kCount];
    bool read_[kCount] = {};
    bool entered_ = false;
};

// Saves PICKFIRST, sets it to 0 and writes the saved value back at the end.
class PickfirstOffScope {
public:
    PickfirstOffScope();
    ~PickfirstOffScope();
    PickfirstOffScope(const PickfirstOffScope&) = delete;
    PickfirstOffScope& operator=(const PickfirstOffScope&) = delete;

private:
    short saved_ = 0;
    bool read_ = false;
};

// Pushes the resource module's handle on the document manager's
// resource-handle stack (or, while there is none, the module's own handle)
// and pops it once when the scope ends.
class ResourceScope {
public:
    ResourceScope();
    ~ResourceScope();
    ResourceScope(const ResourceScope&) = delete;
    ResourceScope& operator=(const ResourceScope&) = delete;

private:
    bool pushed_ = false;
};

// The text of this string id in the resource module; empty when the id has
// no text or no resource module is held.
std::string LoadResString(uint32_t id);
// As LoadResString, but a missing text is first reported in a message box.
std::string LoadResStringWarn(uint32_t id);

}  // namespace tarn::frame
