// The words of the background watch, as UTF-8: the alerts' titles and
// texts ("203.0.113.40 is down", "No reply since 14:02:31 (3 failures:
// time-out)", "Down 4 min 12 s (14:02:31 to 14:06:43)") and the one-line
// tip of the notification icon. Clock times come in the locale's format
// from the caller. Portable.
#pragma once

#include <functional>
#include <string>

#include "monitor/LinkWatch.h"
#include "monitor/RunFigures.h"
#include "text/NumberText.h"

// A wall stamp's time of day, as the locale writes it.
using TTimeOfDayText = std::function<std::string(const TWallStamp&)>;

std::string AlertTitle(const TLinkAlert& alert);
std::string AlertText(const TLinkAlert& alert, const TTimeOfDayText& timeText);

// "203.0.113.40 — up · 12.3 ms · loss 0.4 %": the host, its state (idle
// while no repeat pinging runs), then the run's mean trip time and loss
// once there are any.
std::string NotifyTipText(const std::string& host, TLinkState state, bool repeating, const TRunFigures& figures,
                          const txt::NumberSeparators& separators);
