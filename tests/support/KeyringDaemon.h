#pragma once

#include "support/PrivateBus.h"
#include "support/TempFolder.h"

#include <QProcess>
#include <QVariantMap>
#include <memory>

namespace brindle::test {

// A private session bus for this process (DBUS_SESSION_BUS_ADDRESS points at
// A private session bus for this process (DBUS_SESSION_BUS_ADDRESS points at
// it from construction on), or the given one, and, once started,
// gnome-keyring-daemon's Secret Service on it with an unlocked keyring in a
// temporary home. Both end with the object. On request also goa-daemon,
// GNOME's online accounts, keeping its accounts in that home and their
// passwords in that keyring.
class KeyringDaemon {
public:
    // bus: a session bus that outlives the keyring (a display's, with its
    // accessibility bus), or null for one of its own.
    explicit KeyringDaemon(const PrivateBus* bus = nullptr);
    ~KeyringDaemon();
    KeyringDaemon(const KeyringDaemon&) = delete;
    KeyringDaemon& operator=(const KeyringDaemon&) = delete;

    // Starts the keyring and waits until it serves; false when it does not come up.
    bool start();
    const QString& busAddress() const { return bus_->address(); }
    // The environment of a program that is to use this keyring.
    QProcessEnvironment environment() const;
    // What `secret-tool` finds for the program's key, or an empty text.
    QByteArray lookUp(const QString& key) const;

    // Starts goa-daemon on the bus, after start(); false when it does not come up.
    bool startOnlineAccounts();
    // Adds an "IMAP and SMTP" account as the desktop's settings do, its
    // password in the keyring; the account's id, or empty when refused.
    QString addMailAccount(const QString& imapHost, const QString& user, const QString& password);
    const QString& homePath() const { return home_.path(); }

private:
    std::unique_ptr<PrivateBus> ownBus_;
    const PrivateBus* bus_;
    TempFolder home_;
    QProcess daemon_;
    QProcess onlineAccounts_;
};

} // namespace brindle::test
