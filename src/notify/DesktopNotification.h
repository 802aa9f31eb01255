#pragma once

#include <string>

#include "notify/ScanNotice.h"

namespace cotalys {

// The program's desktop entry ("cotalys.desktop" without its extension): the notification
// names it so that a click on it opens Cotalys.
extern const char* const DesktopEntryName;

// Shows ANotice through the freedesktop notification service on the session bus
// (org.freedesktop.Notifications, method Notify), the body's markup characters escaped. False
// with a French reason in AError when there is no session bus, no service on it, or it refuses.
bool SendDesktopNotification(const TScanNotice& ANotice, std::string& AError);

}  // namespace cotalys
