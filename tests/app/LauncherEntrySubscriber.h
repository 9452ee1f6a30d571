#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

/// Listens on its own session-bus connection for LauncherEntry Update signals and records each
/// property as text ("progress-visible=false", "progress=0.37").
class LauncherEntrySubscriber : public QObject {
    Q_OBJECT

public:
    LauncherEntrySubscriber();
    ~LauncherEntrySubscriber() override;

    bool Connected() const { return Listening; }

    /// Serves events until `count` records have arrived (or a generous bound has passed).
    bool WaitFor(int count);

    QStringList Records;
    QString LastUri;

    /// A connection other than the subscriber's, as the program would use.
    static QDBusConnection SenderBus();

private slots:
    void Update(const QString& uri, const QVariantMap& properties);

private:
    QDBusConnection Bus;
    bool Listening = false;
};
