// Run under tests/harness/with-keyring (a keyring of its own on a private bus) for Keyring.*,
// and with no session bus at all for NoKeyring.*.
#include "provider/keyring.h"

#include <QUuid>

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(Keyring, KeepsReadsAndForgetsAPassword)
{
    const QString key = QStringLiteral("http://panel.test/player_api.php?username=") + QUuid::createUuid().toString();
    const QString password = QStringLiteral("s€cret/&=\"pass");
    EXPECT_EQ(Keyring::Read(key).outcome, Keyring::Outcome::NotFound);
    ASSERT_EQ(Keyring::Write(key, password).outcome, Keyring::Outcome::Done);
    const Keyring::Answer read = Keyring::Read(key);
    ASSERT_EQ(read.outcome, Keyring::Outcome::Done) << read.why.toStdString();
    EXPECT_EQ(read.password, password);
    // Another account's key reads nothing of it.
    EXPECT_EQ(Keyring::Read(key + QStringLiteral("x")).outcome, Keyring::Outcome::NotFound);
    EXPECT_EQ(Keyring::Remove(key).outcome, Keyring::Outcome::Done);
    EXPECT_EQ(Keyring::Read(key).outcome, Keyring::Outcome::NotFound);
    EXPECT_EQ(Keyring::Remove(key).outcome, Keyring::Outcome::Done);
}

TEST(NoKeyring, SaysSoAndKeepsNothing)
{
    const Keyring::Answer written = Keyring::Write(QStringLiteral("k"), QStringLiteral("secret"));
    EXPECT_NE(written.outcome, Keyring::Outcome::Done);
    EXPECT_FALSE(written.why.contains(QStringLiteral("secret")));
    EXPECT_NE(Keyring::Read(QStringLiteral("k")).outcome, Keyring::Outcome::Done);
}

} // namespace
} // namespace quorvel
