#pragma once

#include <gtest/gtest.h>
#include <signal.h>

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QElapsedTimer>
#include <QStringList>
#include <QVariantMap>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace cotalys::test {

// The Qt application the bus connections of a test need, made once for the test program.
inline void EnsureQtApplication() {
    if (QCoreApplication::instance() == nullptr) {
        static int argc = 1;
        static char name[] = "test";
        static char* argv[] = {name, nullptr};
        static QCoreApplication application(argc, argv);
    }
}

// A session bus of the test's own (dbus-daemon), ended with the object. Address() is empty when
// dbus-daemon could not start.
class TSessionBus {
public:
    TSessionBus() {
        FILE* daemon = popen("dbus-daemon --session --fork --print-address=1 --print-pid=1", "r");
        if (daemon == nullptr) {
            return;
        }
        char line[512] = {};
        if (std::fgets(line, sizeof line, daemon) != nullptr) {
            FAddress = line;
            FAddress.erase(FAddress.find_last_not_of("\r\n") + 1);
        }
        if (std::fgets(line, sizeof line, daemon) != nullptr) {
            FPid = std::atoi(line);
        }
        pclose(daemon);
    }
    ~TSessionBus() {
        if (FPid > 0) {
            kill(FPid, SIGTERM);
        }
    }
    TSessionBus(const TSessionBus&) = delete;
    TSessionBus& operator=(const TSessionBus&) = delete;

    const std::string& Address() const { return FAddress; }

private:
    std::string FAddress;
    int FPid = 0;
};

// One Notify call as the server received it.
struct TReceivedNotification {
    QString AppName;
    QString Icon;
    QString Summary;
    QString Body;
    QStringList Actions;
    QVariantMap Hints;
};

// A freedesktop notification service of the test's own on a bus: it owns
// org.freedesktop.Notifications and records the arguments of every Notify call.
class TNotificationServer : public QDBusVirtualObject {
public:
    explicit TNotificationServer(const std::string& AAddress)
        : FBus(QDBusConnection::connectToBus(QString::fromStdString(AAddress),
                                             QStringLiteral("test-notification-server"))) {
        FBus.registerVirtualObject(QStringLiteral("/org/freedesktop/Notifications"), this,
                                   QDBusConnection::SingleNode);
        FRegistered = FBus.registerService(QStringLiteral("org.freedesktop.Notifications"));
    }
    ~TNotificationServer() override {
        FBus.unregisterObject(QStringLiteral("/org/freedesktop/Notifications"));
        QDBusConnection::disconnectFromBus(QStringLiteral("test-notification-server"));
    }

    bool Registered() const { return FRegistered; }
    const std::vector<TReceivedNotification>& Received() const { return FReceived; }

    // Answers the bus until ADone says so or half a minute has passed.
    void ServeUntil(const std::function<bool()>& ADone) {
        QElapsedTimer clock;
        clock.start();
        while (!ADone() && clock.elapsed() < 30000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        }
    }

    QString introspect(const QString&) const override {
        return QStringLiteral(
            "<interface name=\"org.freedesktop.Notifications\">"
            "<method name=\"Notify\">"
            "<arg name=\"app_name\" type=\"s\" direction=\"in\"/>"
            "<arg name=\"replaces_id\" type=\"u\" direction=\"in\"/>"
            "<arg name=\"app_icon\" type=\"s\" direction=\"in\"/>"
            "<arg name=\"summary\" type=\"s\" direction=\"in\"/>"
            "<arg name=\"body\" type=\"s\" direction=\"in\"/>"
            "<arg name=\"actions\" type=\"as\" direction=\"in\"/>"
            "<arg name=\"hints\" type=\"a{sv}\" direction=\"in\"/>"
            "<arg name=\"expire_timeout\" type=\"i\" direction=\"in\"/>"
            "<arg name=\"id\" type=\"u\" direction=\"out\"/>"
            "</method></interface>");
    }

    bool handleMessage(const QDBusMessage& AMessage, const QDBusConnection& AConnection) override {
        if (AMessage.member() != QStringLiteral("Notify") || AMessage.arguments().size() != 8) {
            return false;
        }
        const QList<QVariant> args = AMessage.arguments();
        FReceived.push_back({args[0].toString(), args[2].toString(), args[3].toString(),
                             args[4].toString(), args[5].toStringList(),
                             qdbus_cast<QVariantMap>(args[6])});
        AConnection.send(
            AMessage.createReply(QVariant::fromValue(static_cast<uint>(FReceived.size()))));
        return true;
    }

private:
    QDBusConnection FBus;
    bool FRegistered = false;
    std::vector<TReceivedNotification> FReceived;
};

}  // namespace cotalys::test
