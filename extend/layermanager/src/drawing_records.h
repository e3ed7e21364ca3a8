// Dictionaries and xrecords of a drawing as the layer manager keeps its
// records in them: open objects closed on every way out, entries found,
// written, replaced and removed by name.
#pragma once

#include <string_view>

#include <tarnsdk/tcdbobjects.h>
#include <tarnsdk/tctypes.h>

namespace tarn::layermanager {

// An object opened through the SDK, closed when the holder ends.
template <class T>
class Opened {
public:
    Opened() = default;
    ~Opened() { Close(); }
    Opened(const Opened&) = delete;
    Opened& operator=(const Opened&) = delete;

    TcDb::ErrorStatus Open(TcDbObjectId id, TcDb::OpenMode mode) {
        Close();
        return tcdbOpenObject(object_, id, mode);
    }
    void Close() {
        if (object_) object_->close();
        object_ = nullptr;
    }
    T* operator->() const { return object_; }
    T* get() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

private:
    T* object_ = nullptr;
};

// The entry of a dictionary under `name`, or null.
TcDbObjectId DictionaryEntry(TcDbObjectId dictionary, std::string_view name);

// The dictionary under `name` in `parent`; made when missing and `create`.
// Null when it is missing (or cannot be made), or the entry is no dictionary.
TcDbObjectId SubDictionary(TcDbObjectId parent, std::string_view name, bool create);

// The extension dictionary of the drawing's LAYER table; made when missing
// and `create`.
TcDbObjectId LayerTableDictionary(TcDbDatabase& db, bool create);

// The data of the xrecord under `name` (released by the caller with
// tcutRelRb); null when there is none or it is empty.
struct resbuf* ReadXrecord(TcDbObjectId dictionary, std::string_view name);

// Stores `data` in the xrecord under `name`, made when missing. False when
// the entry is something else or the data are refused.
bool WriteXrecord(TcDbObjectId dictionary, std::string_view name, const struct resbuf* data);

// Takes the entry out of the dictionary and erases the object.
bool RemoveEntry(TcDbObjectId dictionary, std::string_view name);

}  // namespace tarn::layermanager
