#include <QDBusConnection>
#include <gtest/gtest.h>

#include "hostlink/dbus_host_core.h"
#include "hostlink/plugin_start.h"
#include "service_thread.h"

namespace tabulon {
namespace {

using namespace Qt::StringLiterals;

using test::ServiceThread;

struct StartRun {
    QStringList messages;
    int connects = 0;
    PluginStart start{[this]() -> std::unique_ptr<HostCore> {
                          ++connects;
                          return DbusHostCore::create(QDBusConnection::sessionBus());
                      },
                      [this](const QString& text) { messages << text; }};
};

TEST(PluginStart, RegistrationSendsEachKeyByItsKindOfCall) {
    const ServiceThread host;
    StartRun run;
    EXPECT_EQ(run.start.HandlePluginStart(u"/hkpreg"_s), 0);
    // The keys, values and suffixes are read by tabulon-host's register test and
    // counted by the refusals below: here, which call carries a number.
    const QStringList lines = host.lines();
    EXPECT_TRUE(lines.contains(u"hkp_DataAdd\tMODE_ICON_1\tint16\t0"_s));
    EXPECT_TRUE(lines.contains(u"hkp_DataAddInt\tMODE_IN_TEXT_SELECTED_1\tint16\t0"_s));
    EXPECT_TRUE(run.messages.isEmpty());
    EXPECT_EQ(run.start.hostCore(), nullptr);
}

TEST(PluginStart, APluginRunSendsOnlyTheOutputModeAndKeepsTheCore) {
    const ServiceThread host;
    StartRun run;
    EXPECT_EQ(run.start.HandlePluginStart(u"/hkprun"_s), std::nullopt);
    EXPECT_EQ(host.lines(), QStringList{u"hkp_DataAdd\tMODE_OUTPUT\tint16\t6"_s});
    EXPECT_NE(run.start.hostCore(), nullptr);
}

TEST(PluginStart, AnUnreachableHostIsReportedAndEndsTheRun) {
    StartRun run;
    EXPECT_EQ(run.start.HandlePluginStart(u"/hkprun"_s), 1);
    EXPECT_EQ(run.start.HandlePluginStart(u"/hkpreg"_s), 1);
    EXPECT_EQ(run.messages,
              (QStringList{PluginStart::unreachableMessage(), PluginStart::cannotRegisterMessage()}));
    // No bus at all counts the same.
    EXPECT_EQ(DbusHostCore::create(QDBusConnection(u"never-connected"_s)), nullptr);
}

// Records the keys it is given and refuses the ones named.
class RefusingHost final : public HostCore {
public:
    RefusingHost(QStringList& keys, QStringList refused) : keys_(keys), refused_(std::move(refused)) {}
    HostAnswer hkp_DataAdd(const QString& key, const QVariant&) override { return take(key); }
    HostAnswer hkp_DataAddInt(const QString& key, qint16) override { return take(key); }
    HostAnswer hkp_DataSetGlobalSuffix(const QString& suffix) override { return take(u"suffix"_s + suffix); }
    void hkp_DataAddLater(const QString&, const QVariant&, QObject*, Answered) override {}

private:
    HostAnswer take(const QString& key) {
        keys_ << key;
        return refused_.contains(key) ? HostAnswer::failed(u"refused "_s + key) : HostAnswer();
    }
    QStringList& keys_;
    QStringList refused_;
};

// A refused registration call stops the entries, clears the suffix and is
// reported; a refused output mode still opens the plug-in run, silently.
TEST(PluginStart, ARefusedCallStopsOnlyTheRegistration) {
    const struct {
        const char* argument;
        const char* refused;
        int sent; // calls made, the clearing of the suffix included
    } cases[] = {{"/hkpreg", "suffix_1", 2}, {"/hkpreg", "SECTION", 4},
                 {"/hkpreg", "EMAIL", 8},    {"/hkpreg", "MODE_IN_TEXT_SELECTED", 17},
                 {"/hkpreg", "suffix", 17},  {"/hkprun", "MODE_OUTPUT", 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.refused);
        QStringList keys;
        QStringList messages;
        PluginStart start([&] { return std::make_unique<RefusingHost>(keys, QStringList{c.refused}); },
                          [&](const QString& text) { messages << text; });
        const bool registration = c.argument == std::string_view("/hkpreg");
        EXPECT_EQ(start.HandlePluginStart(QString::fromLatin1(c.argument)),
                  registration ? std::optional(1) : std::nullopt);
        EXPECT_EQ(keys.size(), c.sent);
        EXPECT_EQ(keys.last(), registration ? u"suffix"_s : u"MODE_OUTPUT"_s);
        EXPECT_EQ(messages,
                  registration
                      ? QStringList{u"The plug-in could not be registered with HTML-Kit: refused "_s +
                                    QString::fromLatin1(c.refused)}
                      : QStringList());
        EXPECT_EQ(start.hostCore() != nullptr, !registration);
    }
}

TEST(PluginStart, AnyOtherArgumentTextIsAStandaloneRunThatNeverTouchesTheBus) {
    StartRun run;
    for (const char* text :
         {"", "/HKPRUN", "/hkprun x", " /hkprun", "/hkpreg ", "/Hkpreg", "/setupregistry"}) {
        EXPECT_FALSE(IsPluginStart(QString::fromLatin1(text))) << text;
        EXPECT_EQ(run.start.HandlePluginStart(QString::fromLatin1(text)), std::nullopt) << text;
    }
    EXPECT_EQ(run.connects, 0);
}

} // namespace
} // namespace tabulon
