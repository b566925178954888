#include "console/FiguresTip.h"

#include <windows.h>

#include "console/RunTipText.h"
#include "toolkit/LocaleText.h"
#include "toolkit/WinFileSystem.h"

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
        const TTipFormat format{{tk::Utf8Text(locale.Decimal), tk::Utf8Text(locale.Thousand)}, tk::Utf8Text(tk::ReadLocaleTimeSeparator())};
        return RunTipText(figures_->Figures(), figures_->Now(), format);
    };
}

void TFiguresTip::Refresh()
{
    if (figures_)
        tk::ToolTip::Refresh();
}
