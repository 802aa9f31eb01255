#pragma once

// What the daily scan tells the user when it runs on its own: the text of its desktop
// notification, the notification itself on the session bus, and the log of its runs.
#include "notify/DesktopNotification.h"
#include "notify/ScanLog.h"
#include "notify/ScanNotice.h"
