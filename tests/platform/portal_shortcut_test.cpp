// The portal client against a fake GlobalShortcuts portal on a private bus of its own:
// the session and the one shortcut it binds, the trigger the desktop reports, which
// activations count, and the failures on the way.
#include "portal_shortcut.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include "test_environment.h"

namespace radixpad::test {
namespace {

using State = CPortalShortcut::State;

bool WaitUntil(const std::function<bool()>& done, int ms = 5000) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return true;
}

// A bus daemon of the test's own. Its configuration has no service folders: nothing on
// the machine (a real portal) can be started on it by a call to a missing name.
class PrivateBus {
 public:
  PrivateBus() {
    const QString config = m_folder.filePath(QStringLiteral("bus.conf"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly)) return;
    file.write(QStringLiteral("<busconfig><type>session</type><listen>unix:path=%1</listen><auth>EXTERNAL</auth>"
                              "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                              "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>")
                   .arg(m_folder.filePath(QStringLiteral("bus")))
                   .toUtf8());
    file.close();
    m_daemon.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--config-file=") + config,
                                                   QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
    if (!m_daemon.waitForStarted(10000)) return;
    while (!m_daemon.canReadLine() && m_daemon.waitForReadyRead(10000)) {
    }
    m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
  }
  ~PrivateBus() {
    m_daemon.terminate();
    if (!m_daemon.waitForFinished(5000)) m_daemon.kill();
    m_daemon.waitForFinished(2000);
  }
  PrivateBus(const PrivateBus&) = delete;
  PrivateBus& operator=(const PrivateBus&) = delete;

  QString Address() const { return m_address; }

  /// A fresh connection of its own under the name `name`.
  QDBusConnection Connect(const QString& name) {
    m_names << name;
    return QDBusConnection::connectToBus(m_address, name);
  }
  void DisconnectAll() {
    for (const QString& name : m_names) QDBusConnection::disconnectFromBus(name);
  }

 private:
  QTemporaryDir m_folder;
  QProcess m_daemon;
  QString m_address;
  QStringList m_names;
};

// The desktop's side: the portal object with GlobalShortcuts, its requests and sessions.
class FakePortal : public QDBusVirtualObject {
 public:
  explicit FakePortal(const QDBusConnection& bus) : m_bus(bus) {}

  // How it answers.
  bool offersInterface = true;
  bool failsCreateSession = false;
  bool namesRequestsItsOwnWay = false;  // as portals before 0.9 did
  uint bindResponse = 0;
  QString triggerDescription = QStringLiteral("Ctrl+Alt+K");

  // What it was asked.
  QVariantMap createOptions;
  QString boundSession;
  PortalShortcutList boundShortcuts;
  QStringList sessions;
  QStringList closedSessions;

  QString introspect(const QString&) const override { return {}; }

  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
    const QVariantList args = message.arguments();
    const QString member = message.member();
    if (message.interface() == QLatin1String("org.freedesktop.DBus.Properties") && member == QLatin1String("Get")) {
      if (offersInterface && args.value(0).toString() == QLatin1String(kGlobalShortcutsInterface)) {
        connection.send(message.createReply(QVariant::fromValue(QDBusVariant(1u))));
      } else {
        connection.send(message.createErrorReply(QStringLiteral("org.freedesktop.DBus.Error.UnknownInterface"),
                                                 QStringLiteral("No such interface")));
      }
      return true;
    }
    if (member == QLatin1String("Close") && message.interface() == QLatin1String(kPortalSessionInterface)) {
      closedSessions << message.path();
      connection.send(message.createReply());
      return true;
    }
    const QString sender = message.service().mid(1).replace(QLatin1Char('.'), QLatin1Char('_'));
    if (member == QLatin1String("CreateSession")) {
      if (failsCreateSession) {
        connection.send(message.createErrorReply(QStringLiteral("org.freedesktop.portal.Error.Failed"),
                                                 QStringLiteral("no sessions today")));
        return true;
      }
      createOptions = qdbus_cast<QVariantMap>(args.value(0));
      const QString session = QStringLiteral("/org/freedesktop/portal/desktop/session/%1/%2")
                                  .arg(sender, createOptions.value(QStringLiteral("session_handle_token")).toString());
      sessions << session;
      Answer(message, sender, createOptions.value(QStringLiteral("handle_token")).toString(), 0,
             {{QStringLiteral("session_handle"), session}});
      return true;
    }
    if (member == QLatin1String("BindShortcuts")) {
      boundSession = args.value(0).value<QDBusObjectPath>().path();
      boundShortcuts = qdbus_cast<PortalShortcutList>(args.value(1));
      PortalShortcutList bound;
      for (const PortalShortcut& shortcut : boundShortcuts) {
        bound.append({shortcut.id,
                      {{QStringLiteral("description"), shortcut.properties.value(QStringLiteral("description"))},
                       {QStringLiteral("trigger_description"), triggerDescription}}});
      }
      Answer(message, sender, qdbus_cast<QVariantMap>(args.value(3)).value(QStringLiteral("handle_token")).toString(),
             bindResponse, {{QStringLiteral("shortcuts"), QVariant::fromValue(bound)}});
      return true;
    }
    return false;
  }

  /// The desktop reports the shortcut `id` of `session` pressed.
  void Activate(const QString& session, const QString& id) { SendActivated(m_bus, session, id); }
  static void SendActivated(const QDBusConnection& from, const QString& session, const QString& id) {
    QDBusMessage signal = QDBusMessage::createSignal(
        QString::fromLatin1(kPortalPath), QString::fromLatin1(kGlobalShortcutsInterface), QStringLiteral("Activated"));
    signal << QVariant::fromValue(QDBusObjectPath(session)) << id << qulonglong(1234) << QVariantMap();
    from.send(signal);
  }
  /// The user gave the shortcut of `session` another key in the desktop's settings.
  void ChangeTrigger(const QString& session, const QString& trigger) {
    QDBusMessage signal =
        QDBusMessage::createSignal(QString::fromLatin1(kPortalPath), QString::fromLatin1(kGlobalShortcutsInterface),
                                   QStringLiteral("ShortcutsChanged"));
    const PortalShortcutList shortcuts{
        {QString::fromLatin1(kToggleShortcutId), {{QStringLiteral("trigger_description"), trigger}}}};
    signal << QVariant::fromValue(QDBusObjectPath(session)) << QVariant::fromValue(shortcuts);
    m_bus.send(signal);
  }
  void CloseSession(const QString& session) {
    m_bus.send(
        QDBusMessage::createSignal(session, QString::fromLatin1(kPortalSessionInterface), QStringLiteral("Closed"))
        << QVariantMap());
  }

 private:
  // Replies with the request's handle, then sends its Response.
  void Answer(const QDBusMessage& call, const QString& sender, const QString& token, uint response,
              const QVariantMap& results) {
    const QString request = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token) +
                            (namesRequestsItsOwnWay ? QStringLiteral("_own") : QString());
    m_bus.send(call.createReply(QVariant::fromValue(QDBusObjectPath(request))));
    // A handle of its own can be listened to only once the reply is read: such portals
    // answered after the user did, never at once.
    QTimer::singleShot(namesRequestsItsOwnWay ? 300 : 0, this, [this, request, response, results] {
      QDBusMessage signal =
          QDBusMessage::createSignal(request, QString::fromLatin1(kPortalRequestInterface), QStringLiteral("Response"));
      signal << response << results;
      m_bus.send(signal);
    });
  }

  QDBusConnection m_bus;
};

class PortalShortcutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterPortalShortcutTypes();
    ASSERT_FALSE(bus_.Address().isEmpty()) << "dbus-daemon did not start";
    desktop_ = std::make_unique<QDBusConnection>(bus_.Connect(QStringLiteral("desktop")));
    ASSERT_TRUE(desktop_->isConnected());
    portal_ = std::make_unique<FakePortal>(*desktop_);
  }
  void TearDown() override {
    clients_.clear();
    portal_.reset();
    desktop_.reset();
    bus_.DisconnectAll();
  }

  // Puts the portal on the bus under its well-known name.
  void Offer() {
    ASSERT_TRUE(
        desktop_->registerVirtualObject(QString::fromLatin1(kPortalPath), portal_.get(), QDBusConnection::SubPath));
    ASSERT_TRUE(desktop_->registerService(QString::fromLatin1(kPortalService)));
  }

  CPortalShortcut& NewClient() {
    const QString name = QStringLiteral("client%1").arg(clients_.size());
    clients_.push_back(std::make_unique<CPortalShortcut>(bus_.Connect(name), QStringLiteral("Show or hide Radixpad")));
    return *clients_.back();
  }

  /// A new client that asked to bind `trigger`, once the portal has answered.
  CPortalShortcut& SettledClient(const QString& trigger = QStringLiteral("CTRL+ALT+k")) {
    CPortalShortcut& client = NewClient();
    client.Bind(trigger);
    EXPECT_TRUE(WaitUntil([&] { return Settled(client); })) << "no answer";
    return client;
  }

  static bool Settled(const CPortalShortcut& client) {
    return client.state() != State::kIdle && client.state() != State::kBinding;
  }

  PrivateBus bus_;
  std::unique_ptr<QDBusConnection> desktop_;
  std::unique_ptr<FakePortal> portal_;
  std::vector<std::unique_ptr<CPortalShortcut>> clients_;
};

TEST_F(PortalShortcutTest, BindsOneShortcutInItsOwnSessionWithThePreferredTrigger) {
  for (bool ownNames : {false, true}) {
    SCOPED_TRACE(ownNames ? "the portal names requests its own way" : "requests at the predicted paths");
    portal_->namesRequestsItsOwnWay = ownNames;
    if (!ownNames) Offer();
    CPortalShortcut& client = SettledClient();
    ASSERT_EQ(client.state(), State::kBound) << client.Error().toStdString();
    EXPECT_EQ(client.Trigger(), QStringLiteral("Ctrl+Alt+K"));
    EXPECT_FALSE(portal_->createOptions.value(QStringLiteral("session_handle_token")).toString().isEmpty());
    EXPECT_EQ(client.SessionHandle(), portal_->sessions.last());
    EXPECT_EQ(portal_->boundSession, client.SessionHandle());
    ASSERT_EQ(portal_->boundShortcuts.size(), 1);
    const PortalShortcut& shortcut = portal_->boundShortcuts.first();
    EXPECT_EQ(shortcut.id, QStringLiteral("toggle-window"));
    EXPECT_EQ(shortcut.properties.value(QStringLiteral("preferred_trigger")).toString(), QStringLiteral("CTRL+ALT+k"));
    EXPECT_EQ(shortcut.properties.value(QStringLiteral("description")).toString(),
              QStringLiteral("Show or hide Radixpad"));
  }
}

TEST_F(PortalShortcutTest, OnlyItsOwnSessionAndShortcutActivateIt) {
  Offer();
  CPortalShortcut& ours = NewClient();
  CPortalShortcut& other = NewClient();  // another program's session on the same portal
  ours.Bind(QStringLiteral("CTRL+ALT+k"));
  other.Bind(QStringLiteral("CTRL+ALT+k"));
  ASSERT_TRUE(WaitUntil([&] { return Settled(ours) && Settled(other); }));
  ASSERT_EQ(ours.state(), State::kBound);
  ASSERT_EQ(other.state(), State::kBound);
  ASSERT_NE(ours.SessionHandle(), other.SessionHandle());
  int activations = 0;
  QObject::connect(&ours, &CPortalShortcut::activated, [&activations] { ++activations; });
  int otherActivations = 0;
  QObject::connect(&other, &CPortalShortcut::activated, [&otherActivations] { ++otherActivations; });
  // The same signal from anyone but the portal; the bus has passed it on once it
  // answers the stranger's next call.
  QDBusConnection stranger = bus_.Connect(QStringLiteral("stranger"));
  FakePortal::SendActivated(stranger, ours.SessionHandle(), QStringLiteral("toggle-window"));
  stranger.call(QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
                                               QStringLiteral("/org/freedesktop/DBus"),
                                               QStringLiteral("org.freedesktop.DBus.Peer"), QStringLiteral("Ping")));

  portal_->Activate(other.SessionHandle(), QStringLiteral("toggle-window"));
  portal_->Activate(ours.SessionHandle(), QStringLiteral("another-shortcut"));
  portal_->Activate(ours.SessionHandle(), QStringLiteral("toggle-window"));
  // The portal's signals arrive in order: once the new trigger is seen, all came.
  portal_->ChangeTrigger(ours.SessionHandle(), QStringLiteral("Meta+F1"));
  ASSERT_TRUE(WaitUntil([&] { return ours.Trigger() == QStringLiteral("Meta+F1") && otherActivations > 0; }));
  EXPECT_EQ(activations, 1);
  EXPECT_EQ(otherActivations, 1);
}

TEST_F(PortalShortcutTest, WithoutThePortalOrWhenItSaysNo) {
  // In this order: the portal is put on the bus after the first case.
  const struct {
    const char* what;
    bool offersInterface;
    bool failsCreateSession;
    uint bindResponse;
    State expected;
  } cases[] = {
      {"no portal on the bus", true, false, 0, State::kUnavailable},
      {"a portal without GlobalShortcuts", false, false, 0, State::kUnavailable},
      {"no session", true, true, 0, State::kFailed},
      {"the user cancelled", true, false, 1, State::kRefused},
      {"the binding failed", true, false, 2, State::kFailed},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    portal_->offersInterface = c.offersInterface;
    portal_->failsCreateSession = c.failsCreateSession;
    portal_->bindResponse = c.bindResponse;
    CPortalShortcut& client = SettledClient();
    EXPECT_EQ(client.state(), c.expected);
    EXPECT_EQ(client.Error().isEmpty(), c.expected == State::kRefused) << client.Error().toStdString();
    if (&c == &cases[0]) Offer();
  }
}

TEST_F(PortalShortcutTest, SessionEndsWithTheClientOrTheDesktop) {
  Offer();
  CPortalShortcut& client = SettledClient(QStringLiteral("LOGO+F1"));
  const QString session = client.SessionHandle();
  portal_->CloseSession(session);
  ASSERT_TRUE(WaitUntil([&] { return client.state() == State::kClosed; }));
  int activations = 0;
  QObject::connect(&client, &CPortalShortcut::activated, [&activations] { ++activations; });
  portal_->Activate(session, QStringLiteral("toggle-window"));

  const QString secondSession = SettledClient(QStringLiteral("LOGO+F1")).SessionHandle();
  clients_.pop_back();
  ASSERT_TRUE(WaitUntil([&] { return portal_->closedSessions.contains(secondSession); }))
      << "the session was not closed with its client";
  EXPECT_EQ(activations, 0) << "a closed session still counted";
}

}  // namespace
}  // namespace radixpad::test
