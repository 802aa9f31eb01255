#include "notify/DesktopNotification.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QStringList>
#include <QVariantMap>
#include <memory>

namespace cotalys {
namespace {

const QString ServiceName = QStringLiteral("org.freedesktop.Notifications");
const QString ObjectPath = QStringLiteral("/org/freedesktop/Notifications");
const QString ConnectionName = QStringLiteral("cotalys-notification");
// How long the service may take to answer, in milliseconds.
constexpr int ReplyTimeoutMs = 10000;

QString FromUtf8(const std::string& AText) {
    return QString::fromUtf8(AText.data(), static_cast<qsizetype>(AText.size()));
}

}  // namespace

const char* const DesktopEntryName = "cotalys";

void SendDesktopNotification(const TScanNotice& ANotice) {
    // The command line runs without a Qt application; the bus connection needs one.
    std::unique_ptr<QCoreApplication> application;
    if (QCoreApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "cotalys";
        static char* argv[] = {name, nullptr};
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    std::string error;
    {
        // The address named now, read afresh: the bus library keeps the first one it saw.
        const QString address = qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
        QDBusConnection bus =
            address.isEmpty()
                ? QDBusConnection::connectToBus(QDBusConnection::SessionBus, ConnectionName)
                : QDBusConnection::connectToBus(address, ConnectionName);
        if (!bus.isConnected()) {
            error = "Notification non affichee : pas de bus de session D-Bus";
        } else {
            // A plain method call: a QDBusInterface would introspect the service first, and Qt
            // keeps what it learns past the connection's end (a leak LeakSanitizer reports).
            QDBusMessage call = QDBusMessage::createMethodCall(ServiceName, ObjectPath, ServiceName,
                                                               QStringLiteral("Notify"));
            QVariantMap hints;
            hints.insert(QStringLiteral("desktop-entry"), QString::fromLatin1(DesktopEntryName));
            call << QStringLiteral("Cotalys") << 0u << QString::fromLatin1(DesktopEntryName)
                 << FromUtf8(ANotice.Title) << FromUtf8(ANotice.Body).toHtmlEscaped()
                 << QStringList{QStringLiteral("default"), QStringLiteral("Ouvrir Cotalys")}
                 << hints << -1;
            const QDBusReply<uint> reply = bus.call(call, QDBus::Block, ReplyTimeoutMs);
            if (!reply.isValid()) {
                error = "Notification non affichee : service de notification absent du bus (" +
                        reply.error().message().toStdString() + ")";
            }
        }
    }
    QDBusConnection::disconnectFromBus(ConnectionName);
    if (!error.empty()) {
        throw ENotificationNotShown(error);
    }
}

}  // namespace cotalys
