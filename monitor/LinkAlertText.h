// The words of the link's alerts, as UTF-8: their titles and texts
// ("203.0.113.40 is down", "No reply since 14:02:31 (3 failures:
// time-out)", "Down 4 min 12 s (14:02:31 to 14:06:43)", "Trip time 640 ms
// (usually 21 ms) since 14:02:31") and the one-line tip of the notification
// icon. Clock times come in the locale's format from the caller. Portable.
#pragma once

#include <functional>
#include <string>

#include "monitor/LinkModel.h"
#include "text/NumberText.h"

// A wall stamp's time of day, as the locale writes it, with or without seconds.
using TTimeOfDayText = std::function<std::string(const TWallStamp&, bool seconds)>;

std::string AlertTitle(const TLinkAlert& alert);
std::string AlertText(const TLinkAlert& alert, const TTimeOfDayText& timeText);

// "203.0.113.40 — up · 12.3 ms · loss 0.4 %": the host, the state the icon
// shows, then the last five minutes' mean trip time and loss once there are
// any.
std::string NotifyTipText(const std::string& host, const TLinkModel& link, const txt::NumberSeparators& separators);
