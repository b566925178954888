// The console's settings and host history: each settings key bound to its
// control, the settings file read when the window is made and written,
// through a whole new copy, when it goes (or the session ends), and the
// host history beside it. Members of TFormSetings; GUI thread only.
#include "console/uSetings.h"

#include <optional>
#include <stdexcept>
#include <tuple>
#include <vector>

#include "console/HostHistory.h"
#include "console/SettingsRules.h"
#include "history/HistorySettings.h"
#include "toolkit/ErrorText.h"
#include "toolkit/WinFileSystem.h"

namespace {

// Both files lie beside the executable; wide paths, so any folder name works.
tk::FilePath SettingsPath()
{
    return tk::ModuleFolder() + tk::WideText(kSettingsFileName);
}

tk::FilePath HostPath()
{
    return tk::ModuleFolder() + tk::WideText(kHostFileName);
}

std::int32_t ReadSetting(const tk::FilePath& path, SettingId id)
{
    const SettingKey& key = SettingKeyOf(id);
    wchar_t value[256] = L"";
    DWORD length = GetPrivateProfileStringW(tk::WideText(key.section).c_str(), tk::WideText(key.key).c_str(), L"",
                                            value, 256, path.c_str());
    return ReadSettingValue(key, tk::AnsiText(std::wstring(value, length)));
}

// The whole file, or nothing when it cannot be opened.
std::optional<std::string> ReadWholeFile(const tk::FilePath& path)
{
    tk::KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE) {
        file.Release();
        return std::nullopt;
    }
    std::string text;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(file.Get(), chunk, sizeof chunk, &got, nullptr) && got > 0)
        text.append(chunk, got);
    return text;
}

bool FileExists(const tk::FilePath& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The eleven writes, made to the copy of the settings file that will
// replace it. Each call rewrites that copy; a failure aborts the save.
void WriteProfileString(const tk::FilePath& path, const char* section, const char* key, const std::string& text)
{
    if (!WritePrivateProfileStringW(tk::WideText(section).c_str(), tk::WideText(key).c_str(),
                                    tk::WideText(text).c_str(), path.c_str()))
        throw std::runtime_error("not written");
}

// The alert options after the eleven keys, only those that differ from
// their default; a section left from earlier that says otherwise goes first.
void WriteAlertOptions(const tk::FilePath& path, const TAlertOptions& options)
{
    // Only a file that holds other alert lines is touched: the file of a
    // user who never changed them stays as it was.
    const std::optional<std::string> text = ReadWholeFile(path);
    if (text && !HoldsAlertOptions(*text, options))
        WritePrivateProfileStringW(tk::WideText(kAlertsSection).c_str(), nullptr, nullptr, path.c_str());
    for (const auto& [key, value] : AlertSettingLines(options))
        WriteProfileString(path, kAlertsSection, key, value);
}

THistoryKeyLookup HistoryKeys(std::string_view ini)
{
    return [ini](std::string_view key) { return FindIniValue(ini, kHistorySection, key); };
}

// The history options after the alert options, under the same rule.
void WriteHistoryOptions(const tk::FilePath& path, const THistoryOptions& options)
{
    const std::optional<std::string> text = ReadWholeFile(path);
    if (text && !HoldsHistoryOptions(HistoryKeys(*text), options))
        WritePrivateProfileStringW(tk::WideText(kHistorySection).c_str(), nullptr, nullptr, path.c_str());
    for (const auto& [key, value] : HistorySettingLines(options))
        WriteProfileString(path, kHistorySection, key, value);
}

void WriteSettings(const tk::FilePath& path, const SettingValues& values, const TMonitorRun& run)
{
    for (const SettingKey& key : SettingKeys())
        WriteProfileString(path, key.section, key.key, FormatSettingValue(key, values[static_cast<std::size_t>(key.id)]));
    WriteAlertOptions(path, run.AlertOptions());
    WriteHistoryOptions(path, run.HistoryOptions());
    // The profile calls may report success for writes that never reached
    // the disk (a full disk under Wine): what counts is what the file holds.
    std::optional<std::string> written = ReadWholeFile(path);
    if (!written || !HoldsSettings(*written, values) || !HoldsAlertOptions(*written, run.AlertOptions()) ||
        !HoldsHistoryOptions(HistoryKeys(*written), run.HistoryOptions()))
        throw std::runtime_error("not as written");
}

std::string KeptText(const tk::SafeReplaceError& e)
{
    return "Cannot write file " + tk::AnsiText(e.Target()) + ": " + e.Reason() + ". The previous copy was kept.";
}

} // namespace

// Each settings key with the control that shows it. Load and save both run
// through this one table, so no key can be saved without being loaded.
struct TFormSetings::SettingBinding {
    SettingId id;
    std::int32_t (*get)(const TFormSetings& form);
    void (*set)(TFormSetings& form, std::int32_t value);
};

// Integers go through the fields' value setter, which clamps them; the graph
// settings run their handlers even when a state did not change, so the chart
// follows.
constexpr TFormSetings::SettingBinding TFormSetings::kSettingBindings[] = {
    {SettingId::MaxLines, [](const TFormSetings& f) { return f.speMaxLine->Value(); },
     [](TFormSetings& f, std::int32_t v) { f.speMaxLine->SetValue(v); }},
    {SettingId::LinesErrors, [](const TFormSetings& f) { return std::int32_t{f.chbErrLines->Checked()}; },
     [](TFormSetings& f, std::int32_t v) { f.chbErrLines->SetChecked(v); }},
    {SettingId::AutoClearLogs, [](const TFormSetings& f) { return std::int32_t{f.chbClearLogs->Checked()}; },
     [](TFormSetings& f, std::int32_t v) { f.chbClearLogs->SetChecked(v); }},
    {SettingId::IgnoreFirst, [](const TFormSetings& f) { return std::int32_t{f.chbIgnoreFirst->Checked()}; },
     [](TFormSetings& f, std::int32_t v) { f.chbIgnoreFirst->SetChecked(v); }},
    {SettingId::Graph3D, [](const TFormSetings& f) { return std::int32_t{f.chb3D->Checked()}; },
     [](TFormSetings& f, std::int32_t v) {
         f.chb3D->SetChecked(v);
         f.chb3DClick(f.chb3D);
     }},
    {SettingId::AVGColor, [](const TFormSetings& f) { return static_cast<std::int32_t>(f.AVGColorBox->Selected()); },
     [](TFormSetings& f, std::int32_t v) {
         f.AVGColorBox->SetSelected(static_cast<std::uint32_t>(v));
         f.AVGColorBoxChange(f.AVGColorBox);
     }},
    {SettingId::DataColor, [](const TFormSetings& f) { return static_cast<std::int32_t>(f.DataColorBox->Selected()); },
     [](TFormSetings& f, std::int32_t v) {
         f.DataColorBox->SetSelected(static_cast<std::uint32_t>(v));
         f.DataColorBoxChange(f.DataColorBox);
     }},
    {SettingId::Repeat, [](const TFormSetings& f) { return f.speRepeat->Value(); },
     [](TFormSetings& f, std::int32_t v) { f.speRepeat->SetValue(v); }},
    {SettingId::TimeOut, [](const TFormSetings& f) { return f.speTimeout->Value(); },
     [](TFormSetings& f, std::int32_t v) { f.speTimeout->SetValue(v); }},
    {SettingId::MaxHosts, [](const TFormSetings& f) { return f.speMaxHosts->Value(); },
     [](TFormSetings& f, std::int32_t v) { f.speMaxHosts->SetValue(v); }},
    {SettingId::Buffer, [](const TFormSetings& f) { return f.speBuffer->Value(); },
     [](TFormSetings& f, std::int32_t v) { f.speBuffer->SetValue(v); }},
};

void TFormSetings::LoadSettings()
{
    constexpr auto followTheKeys = [] {
        for (std::size_t i = 0; i < std::size(kSettingBindings); ++i)
            if (kSettingBindings[i].id != static_cast<SettingId>(i))
                return false;
        return std::size(kSettingBindings) == std::tuple_size_v<SettingValues>;
    };
    static_assert(followTheKeys(), "one binding per settings key, in SettingId order");
    const tk::FilePath path = SettingsPath();
    for (SettingId id : SettingLoadOrder())
        kSettingBindings[static_cast<std::size_t>(id)].set(*this, ReadSetting(path, id));
    // The alert and history options have no control here: they go to the run.
    const std::string ini = ReadWholeFile(path).value_or(std::string());
    run_.SetAlertOptions(ReadAlertOptions(ini));
    run_.SetHistoryOptions(ReadHistoryOptions(HistoryKeys(ini)));
}

void TFormSetings::SaveSettings()
{
    // Numeric fields give their value as typed, to be clamped at the next start.
    SettingValues values{};
    for (const SettingBinding& binding : kSettingBindings)
        values[static_cast<std::size_t>(binding.id)] = binding.get(*this);
    // The writes go to a copy of the old file, so keys stay where they stand
    // and other sections stay; only a copy that holds them all replaces it.
    const tk::FilePath path = SettingsPath();
    std::optional<std::string> old = FileExists(path) ? ReadWholeFile(path) : std::string();
    try {
        if (!old)
            throw std::runtime_error("unreadable");
        tk::WinFileSystem fs;
        tk::SafeReplace(fs, path, *old,
                        [&](const tk::FilePath& temp) { WriteSettings(temp, values, run_); });
    } catch (const std::runtime_error&) {
        throw std::runtime_error("Unable to write to " + tk::AnsiText(path));
    }
}

void TFormSetings::LoadHostHistory()
{
    const tk::FilePath path = HostPath();
    if (!FileExists(path))
        return;
    std::optional<std::string> text = ReadWholeFile(path);
    if (!text)
        throw std::runtime_error("Cannot open file " + tk::AnsiText(path));
    std::vector<std::string> hosts = SplitHostLines(*text);
    cbHost->SetItems(hosts);
    if (!hosts.empty())
        cbHost->SetItemIndex(0);
    run_.SetHost(hosts.empty() ? std::string() : hosts.front());
}

void TFormSetings::SaveHostHistory()
{
    try {
        tk::WinFileSystem fs;
        tk::SafeReplace(fs, HostPath(), JoinHostLines(cbHost->Items()));
    } catch (const tk::SafeReplaceError& e) {
        using Step = tk::SafeReplaceError::Step;
        if (e.FailedStep() == Step::Create || e.FailedStep() == Step::Replace)
            throw std::runtime_error("Cannot create file " + tk::AnsiText(e.Target()));
        throw std::runtime_error(KeptText(e));
    }
}

void TFormSetings::AddHostToHistory(const std::string& host)
{
    std::vector<std::string> hosts = cbHost->Items();
    HostChange change = AddHost(hosts, host, speMaxHosts->ClampedValue());
    using Kind = HostChange::Kind;
    if (change.kind == Kind::Moved)
        cbHost->DeleteItem(change.removedAt);
    if (change.kind == Kind::Moved || change.kind == Kind::Inserted)
        cbHost->InsertItem(0, hosts.front());
    if (change.kind == Kind::Moved)
        cbHost->SetItemIndex(0);
    if (change.removedLast)
        cbHost->DeleteItem(static_cast<int>(cbHost->Items().size()) - 1);
}


void TFormSetings::OnEndSession(bool ending)
{
    // Windows ends the process after this message without destroying the
    // windows, so this is the last chance to save.
    if (ending)
        SaveOnce();
}

void TFormSetings::SaveOnce()
{
    if (saved_)
        return;
    saved_ = true;
    // The history is saved even when the settings could not be; both
    // failures then share one box.
    std::string failures;
    for (void (TFormSetings::*save)() : {&TFormSetings::SaveSettings, &TFormSetings::SaveHostHistory}) {
        try {
            (this->*save)();
        } catch (const std::exception& e) {
            failures += (failures.empty() ? "" : "\r\n") + tk::WithFullStop(e.what());
        }
    }
    if (!failures.empty())
        throw std::runtime_error(failures);
}

