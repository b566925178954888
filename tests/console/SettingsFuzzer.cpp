// Feeds arbitrary settings values to every key: reading never fails, a
// Boolean is 0 or 1, and whatever is read is written so it reads back the same.
// The bytes are also looked through as a whole settings file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "console/SettingsRules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // An exact-size copy, so a read past the value's end is caught.
    std::string value(reinterpret_cast<const char*>(data), size);
    for (const SettingKey& key : SettingKeys()) {
        std::int32_t read = ReadSettingValue(key, std::string_view(value));
        if (key.kind == SettingKind::Boolean && read != 0 && read != 1)
            std::abort();
        std::string written = FormatSettingValue(key, read);
        if (ReadSettingValue(key, std::string_view(written)) != read)
            std::abort();
    }
    // The same bytes as a whole settings file, read back after a save.
    SettingValues values{};
    HoldsSettings(value, values);
    return 0;
}
