// Small helpers the layer tools share: reading an object's layer whole,
// issuing the host's LAYER command with names made safe for its name lists,
// and looking at layer records and the current layer.
#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <tarnsdk/tcdbobjects.h>
#include <tarnsdk/tctypes.h>

namespace tarn::layer {

// Layer names reach 255 characters; buffers that hold one are this large.
inline constexpr size_t kLayerNameCapacity = 256;

// The name of the object's layer (group 8), read whole; nothing when the
// object cannot be read or names no layer.
std::optional<std::string> EntityLayer(const tc_name entity);

// The current layer (CLAYER); nothing when it cannot be read.
std::optional<std::string> CurrentLayerName();

// Layer names as the host compares them: without regard to letter case.
bool SameLayerName(std::string_view a, std::string_view b);

// One LAYER name-list argument that names exactly `name` (the host reads
// name lists as wildcard patterns, so "A#1" would also match "A01").
std::string LayerArgument(std::string_view name);

// Issues "_.LAYER" with the arguments as given, then Enter to end the
// command. The caller escapes names (LayerArgument); "*" and keywords such
// as "_ON" go as they are. The status of the host command.
int RunLayerCommand(std::initializer_list<std::string_view> arguments);
int RunLayerCommand(const std::vector<std::string>& arguments);

// A layer record's state, read from the layer table.
struct LayerRecordState {
    TcDbObjectId id;
    std::string name;
    bool off = false;
    bool frozen = false;
    bool locked = false;
};

// The record of this layer (case-insensitive); nothing when there is none.
std::optional<LayerRecordState> FindLayer(std::string_view name);
bool LayerExists(std::string_view name);
// Every layer of the drawing in table order, erased records left out.
std::vector<LayerRecordState> AllLayers();

// A text of the resource module with its "%s" and "%d" placeholders
// replaced, in order, by the values ("%%" gives "%"). Placeholders without a
// value stay empty, so a text that does not match its values cannot fault.
std::string FormatText(std::string_view text, std::initializer_list<std::string_view> values);
// Prints a text on the command line as it is.
void PrintText(std::string_view text);

// Saves a short system variable, may set it, and writes the saved value back
// when the scope ends, on every way out of the command.
class ShortVariableScope {
public:
    explicit ShortVariableScope(const char* name);
    ~ShortVariableScope();
    ShortVariableScope(const ShortVariableScope&) = delete;
    ShortVariableScope& operator=(const ShortVariableScope&) = delete;

    bool Set(short value) const;
    // The value written back at the end, in place of the saved one.
    void RestoreTo(short value) { value_ = value; }
    bool IsSaved() const { return saved_; }

private:
    const char* name_;
    short value_ = 0;
    bool saved_ = false;
};

// Reads and sets short system variables; nothing when it cannot be read.
std::optional<short> GetShortVariable(const char* name);
bool SetShortVariable(const char* name, short value);

}  // namespace tarn::layer
