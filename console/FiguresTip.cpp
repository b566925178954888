#include "console/FiguresTip.h"

#include <windows.h>

#include "monitor/RunTipText.h"
#include "toolkit/LocaleText.h"
#include "toolkit/WinFileSystem.h"

TFiguresTip::TFiguresTip(tk::Component* owner, tk::WinControl* form) : tk::ToolTip(owner, form)
{
    OnText = [this] {
        if (!figures_)
            return std::string();
        const txt::NumberSeparators locale = tk::ReadLocaleSeparators();
        const TTipFormat format{{tk::Utf8Text(locale.Decimal), tk::Utf8Text(locale.Thousand)}, tk::Utf8Text(tk::ReadLocaleTimeSeparator())};
        return RunTipText(figures_->Figures(), figures_->Link(), figures_->Now().Mono, format);
    };
}

void TFiguresTip::Refresh()
{
    if (figures_)
        tk::ToolTip::Refresh();
}
