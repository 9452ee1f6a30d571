#include "LauncherEntrySubscriber.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

namespace {
const QString SubscriberName = "launcher-entry-subscriber";
}

LauncherEntrySubscriber::LauncherEntrySubscriber()
    : Bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, SubscriberName)) {
    Listening =
        Bus.isConnected() && Bus.connect(QString(), QString(), "com.canonical.Unity.LauncherEntry",
                                         "Update", this, SLOT(Update(QString, QVariantMap)));
}

LauncherEntrySubscriber::~LauncherEntrySubscriber() {
    QDBusConnection::disconnectFromBus(SubscriberName);
}

QDBusConnection LauncherEntrySubscriber::SenderBus() {
    return QDBusConnection::sessionBus();
}

bool LauncherEntrySubscriber::WaitFor(int count) {
    QDeadlineTimer deadline(10000);
    while (Records.size() < count && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return Records.size() >= count;
}

void LauncherEntrySubscriber::Update(const QString& uri, const QVariantMap& properties) {
    LastUri = uri;
    for (auto it = properties.begin(); it != properties.end(); ++it) {
        const QVariant value = it.value();
        const QString text = value.typeId() == QMetaType::Bool
                                 ? (value.toBool() ? "true" : "false")
                                 : QString::number(value.toDouble(), 'g', 6);
        Records << it.key() + "=" + text;
    }
}
