#pragma once

#include "core/Core.h"
#include "notify/ScanNotice.h"

namespace cotalys {

// The program's desktop entry ("cotalys.desktop" without its extension): the notification
// names it so that a click on it opens Cotalys.
extern const char* const DesktopEntryName;

// The desktop could not show the notification: no session bus, no service on it, or a refusal.
class ENotificationNotShown : public EFinanceError {
public:
    using EFinanceError::EFinanceError;
    const char* ClassName() const noexcept override { return "ENotificationNotShown"; }
};

// Shows ANotice through the freedesktop notification service on the session bus
// (org.freedesktop.Notifications, method Notify), the body's markup characters escaped. Throws
// ENotificationNotShown with a French reason when there is no session bus, no service on it, or
// it refuses.
void SendDesktopNotification(const TScanNotice& ANotice);

}  // namespace cotalys
