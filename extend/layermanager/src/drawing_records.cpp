// Dictionaries and xrecords of a drawing, opened and closed through the SDK.
#include "drawing_records.h"

#include <tarnsdk/tcutapi.h>

namespace tarn::layermanager {

TcDbObjectId DictionaryEntry(TcDbObjectId dictionary, std::string_view name) {
    Opened<TcDbDictionary> dict;
    TcDbObjectId id;
    if (dictionary.isNull() || dict.Open(dictionary, TcDb::kForRead) != TcDb::eOk) return {};
    return dict->getAt(name, id) == TcDb::eOk ? id : TcDbObjectId();
}

TcDbObjectId SubDictionary(TcDbObjectId parent, std::string_view name, bool create) {
    const TcDbObjectId found = DictionaryEntry(parent, name);
    if (!found.isNull()) {
        Opened<TcDbDictionary> check;  // an entry of another kind is not ours to use
        return check.Open(found, TcDb::kForRead) == TcDb::eOk ? found : TcDbObjectId();
    }
    Opened<TcDbDictionary> dict;
    if (!create || dict.Open(parent, TcDb::kForWrite) != TcDb::eOk) return {};
    auto* made = new TcDbDictionary();
    TcDbObjectId id;
    if (dict->setAt(name, made, id) != TcDb::eOk) {
        delete made;  // never added: still the module's
        return {};
    }
    made->close();
    return id;
}

TcDbObjectId LayerTableDictionary(TcDbDatabase& db, bool create) {
    Opened<TcDbLayerTable> table;
    if (table.Open(db.layerTableId(), TcDb::kForRead) != TcDb::eOk) return {};
    TcDbObjectId id = table->extensionDictionary();
    if (!id.isNull() || !create) return id;
    if (table->upgradeOpen() != TcDb::eOk || table->createExtensionDictionary() != TcDb::eOk) return {};
    return table->extensionDictionary();
}

struct resbuf* ReadXrecord(TcDbObjectId dictionary, std::string_view name) {
    const TcDbObjectId id = DictionaryEntry(dictionary, name);
    Opened<TcDbXrecord> record;
    if (id.isNull() || record.Open(id, TcDb::kForRead) != TcDb::eOk) return nullptr;
    return record->rbChain();
}

bool WriteXrecord(TcDbObjectId dictionary, std::string_view name, const struct resbuf* data) {
    const TcDbObjectId id = DictionaryEntry(dictionary, name);
    Opened<TcDbXrecord> record;
    if (!id.isNull()) return record.Open(id, TcDb::kForWrite) == TcDb::eOk && record->setFromRbChain(data) == TcDb::eOk;
    Opened<TcDbDictionary> dict;
    if (dict.Open(dictionary, TcDb::kForWrite) != TcDb::eOk) return false;
    // Filled before it joins the drawing, so that refused data leave no
    // empty record behind.
    auto* made = new TcDbXrecord();
    TcDbObjectId added;
    if (made->setFromRbChain(data) != TcDb::eOk || dict->setAt(name, made, added) != TcDb::eOk) {
        delete made;
        return false;
    }
    made->close();
    return true;
}

bool RemoveEntry(TcDbObjectId dictionary, std::string_view name) {
    Opened<TcDbDictionary> dict;
    TcDbObjectId removed;
    if (dictionary.isNull() || dict.Open(dictionary, TcDb::kForWrite) != TcDb::eOk) return false;
    if (dict->remove(name, removed) != TcDb::eOk) return false;
    dict.Close();
    Opened<TcDbObject> object;
    return object.Open(removed, TcDb::kForWrite) == TcDb::eOk && object->erase() == TcDb::eOk;
}

}  // namespace tarn::layermanager
