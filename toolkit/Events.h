// Event types shared by the controls. Portable.
#pragma once

#include <functional>

#include "toolkit/Component.h"

namespace tk {

// A handler told which component raised the event (its `Sender`).
using NotifyEvent = std::function<void(Component* sender)>;

enum class MouseButton { Left, Right, Middle };

} // namespace tk
