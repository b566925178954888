#include "console/FiguresTip.h"

#include <windows.h>

#include "console/RunTipText.h"
#include "toolkit/LocaleText.h"

namespace {

// The locale's texts come in the ANSI code page; the tip's text is UTF-8.
std::string Utf8(const std::string& ansi)
{
    std::wstring wide(ansi.size(), L'\0');
    wide.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()),
                                                             wide.data(), static_cast<int>(wide.size()))));
    std::string out(wide.size() * 3, '\0');
    out.resize(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                                            out.data(), static_cast<int>(out.size()), nullptr, nullptr)));
    return out;
}

} // namespace

TLocalMs LocalMsNow()
{
    SYSTEMTIME t;
    GetLocalTime(&t);
    FILETIME f{};
    SystemTimeToFileTime(&t, &f);
    const auto since1601 = (static_cast<std::int64_t>(f.dwHighDateTime) << 32 | f.dwLowDateTime) / 10000;
    return since1601 - 11644473600000LL;
}

TFiguresTip::TFiguresTip(tk::Component* owner, tk::WinControl* form) : tk::ToolTip(owner, form)
{
    OnText = [this] {
        if (!figures_)
            return std::string();
        const tk::NumberSeparators locale = tk::ReadLocaleSeparators();
        const TTipFormat format{{Utf8(locale.Decimal), Utf8(locale.Thousand)}, Utf8(tk::ReadLocaleTimeSeparator())};
        return RunTipText(figures_->Figures(), figures_->Now(), format);
    };
}

void TFiguresTip::Refresh()
{
    if (figures_)
        tk::ToolTip::Refresh();
}
