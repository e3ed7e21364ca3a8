// The family settings in the registry store, under the current profile.
#include "frame/profile_settings.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include <tarnsdk/tcedapi.h>
#include <tarnsdk/tcplatform.h>

namespace tarn::frame {
namespace {

// Texts kept by the families are short; the registry answers "more data"
// for a longer one, which then counts as unreadable.
constexpr uint32_t kTextCapacity = 500;

std::optional<std::string> CurrentProfile() {
    struct resbuf value {};
    if (tcedGetVar("CPROFILE", &value) != RTNORM) return std::nullopt;
    if (value.restype != RTSTR || value.resval.rstring == nullptr) return std::nullopt;
    std::string profile = value.resval.rstring;
    std::free(value.resval.rstring);
    return profile;
}

// An open key, closed when it goes out of scope.
class OpenKey {
public:
    ~OpenKey() {
        if (key_ != nullptr) tcplRegCloseKey(key_);
    }
    tcpl_hkey* Out() { return &key_; }
    tcpl_hkey Get() const { return key_; }

private:
    tcpl_hkey key_ = nullptr;
};

bool OpenForRead(const ProfileSettings& settings, OpenKey& key) {
    const std::optional<std::string> path = settings.KeyPath();
    return path && tcplRegOpenKey(TCPL_HKEY_CURRENT_USER, path->c_str(), TCPL_KEY_READ, key.Out()) ==
                       TCPL_ERROR_SUCCESS;
}

// Creates the key when missing, then opens it for writing.
bool OpenForWrite(const ProfileSettings& settings, OpenKey& key) {
    const std::optional<std::string> path = settings.KeyPath();
    if (!path) return false;
    {
        OpenKey created;
        if (tcplRegCreateKey(TCPL_HKEY_CURRENT_USER, path->c_str(), created.Out()) != TCPL_ERROR_SUCCESS)
            return false;
    }
    return tcplRegOpenKey(TCPL_HKEY_CURRENT_USER, path->c_str(), TCPL_KEY_ALL_ACCESS, key.Out()) ==
           TCPL_ERROR_SUCCESS;
}

std::optional<std::string> QueryText(tcpl_hkey key, const std::string& name) {
    char buffer[kTextCapacity + 1] = {};
    uint32_t type = TCPL_REG_NONE;
    uint32_t size = kTextCapacity;
    if (tcplRegQueryValue(key, name.c_str(), &type, buffer, &size) != TCPL_ERROR_SUCCESS) return std::nullopt;
    if (type != TCPL_REG_SZ) return std::nullopt;
    buffer[size < kTextCapacity ? size : kTextCapacity] = '\0';
    return std::string(buffer);
}

bool SetText(tcpl_hkey key, const std::string& name, const std::string& text) {
    return tcplRegSetValue(key, name.c_str(), TCPL_REG_SZ, text.c_str(),
                           static_cast<uint32_t>(text.size() + 1)) == TCPL_ERROR_SUCCESS;
}

std::string NumberedName(std::string_view prefix, size_t number) {
    return std::string(prefix) + std::to_string(number);
}

}  // namespace

std::optional<std::string> ProfileSettings::KeyPath() const {
    const std::optional<std::string> profile = CurrentProfile();
    if (!profile) return std::nullopt;
    const char* root = tcplProductRegistryRoot();
    return std::string(root ? root : "") + "\\Profiles\\" + *profile + "\\UserInterfaceSettings\\" + section_;
}

void ProfileSettings::ReadDwords(std::span<const DwordSetting> settings) const {
    OpenKey key;
    if (!OpenForRead(*this, key)) return;
    for (const DwordSetting& setting : settings) {
        uint32_t value = static_cast<uint32_t>(*setting.variable);
        uint32_t type = TCPL_REG_NONE;
        uint32_t size = sizeof value;
        if (tcplRegQueryValue(key.Get(), setting.name, &type, &value, &size) == TCPL_ERROR_SUCCESS &&
            type == TCPL_REG_DWORD && size == sizeof value)
            *setting.variable = static_cast<int32_t>(value);
    }
}

bool ProfileSettings::WriteDwords(std::span<const DwordSetting> settings) const {
    OpenKey key;
    if (!OpenForWrite(*this, key)) return false;
    bool written = true;
    for (const DwordSetting& setting : settings) {
        const uint32_t value = static_cast<uint32_t>(*setting.variable);
        written &= tcplRegSetValue(key.Get(), setting.name, TCPL_REG_DWORD, &value, sizeof value) ==
                   TCPL_ERROR_SUCCESS;
    }
    return written;
}

std::vector<std::string> ProfileSettings::ReadNumberedTexts(std::string_view prefix) const {
    std::vector<std::string> texts;
    OpenKey key;
    if (!OpenForRead(*this, key)) return texts;
    for (size_t number = 1;; ++number) {
        std::optional<std::string> text = QueryText(key.Get(), NumberedName(prefix, number));
        if (!text) break;
        texts.push_back(std::move(*text));
    }
    return texts;
}

bool ProfileSettings::WriteNumberedTexts(std::string_view prefix, std::span<const std::string> texts) const {
    OpenKey key;
    if (!OpenForWrite(*this, key)) return false;
    bool written = true;
    for (size_t i = 0; i < texts.size(); ++i) written &= SetText(key.Get(), NumberedName(prefix, i + 1), texts[i]);
    for (size_t number = texts.size() + 1;
         tcplRegDeleteValue(key.Get(), NumberedName(prefix, number).c_str()) == TCPL_ERROR_SUCCESS; ++number) {
    }
    return written;
}

bool ProfileSettings::ReadTextInteger(std::string_view name, int32_t* value) const {
    OpenKey key;
    if (!OpenForRead(*this, key)) return false;
    const std::optional<std::string> text = QueryText(key.Get(), std::string(name));
    int scanned = 0;
    if (!text || std::sscanf(text->c_str(), "%d", &scanned) != 1) return false;
    *value = scanned;
    return true;
}

bool ProfileSettings::WriteTextReal(std::string_view name, double value) const {
    OpenKey key;
    if (!OpenForWrite(*this, key)) return false;
    char text[512];  // "%f" of the largest double needs 317
    std::snprintf(text, sizeof text, "%f", value);
    return SetText(key.Get(), std::string(name), text);
}

}  // namespace tarn::frame
