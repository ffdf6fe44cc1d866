#include "SettingsStore.h"
#include "QStringPrinter.h"
#include "SettingsSandbox.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <stdexcept>

namespace velmora {
namespace {

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override { testing::clearSettingsStore(); }
};

TEST_F(SettingsStoreTest, AnAbsentKeyYieldsItsDefault) {
    SettingsStore store;
    EXPECT_EQ(store.read(QStringLiteral("Check1"), QStringLiteral("0")), QStringLiteral("0"));
    EXPECT_EQ(store.read(QStringLiteral("Extension"), QStringLiteral("*")), QStringLiteral("*"));
}

TEST_F(SettingsStoreTest, AnEmptyValueIsStoredAndNotMistakenForAbsent) {
    SettingsStore store;
    ASSERT_TRUE(store.write(QStringLiteral("Text1"), QString()));
    EXPECT_EQ(SettingsStore().read(QStringLiteral("Text1"), QStringLiteral("a")), QString());
}

TEST_F(SettingsStoreTest, ValuesComeBackExactlyAsWritten) {
    const QString values[] = {QStringLiteral("  leading and trailing  "),
                              QStringLiteral("a=b;c,d\"e'f"),
                              QStringLiteral("back\\slash/and/slash"),
                              QStringLiteral("Ünïcødé 名前"),
                              QStringLiteral("line\nbreak"),
                              QStringLiteral("true"),
                              QStringLiteral("0")};
    SettingsStore writer;
    for (const QString& value : values) {
        ASSERT_TRUE(writer.write(QStringLiteral("Text2"), value));
        EXPECT_EQ(SettingsStore().read(QStringLiteral("Text2"), QStringLiteral("b")), value);
    }
}

TEST_F(SettingsStoreTest, AWriteReachesTheDiskAtOnce) {
    SettingsStore store;
    ASSERT_TRUE(store.write(QStringLiteral("LastFolder"), QStringLiteral("/srv/photos")));
    // The user's file under the test's own configuration folder, under our names.
    QFile file(QDir(qEnvironmentVariable("XDG_CONFIG_HOME")).filePath("Tarnwick.conf"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
    const QByteArray contents = file.readAll();
    EXPECT_TRUE(contents.contains("[Velmora]")) << contents.constData();
    EXPECT_TRUE(contents.contains("LastFolder=/srv/photos")) << contents.constData();
}

TEST_F(SettingsStoreTest, KeysAreKeptApartFromOtherSections) {
    QSettings other(QSettings::NativeFormat, QSettings::UserScope,
                    QString::fromLatin1(SettingsStore::applicationName));
    other.setValue(QStringLiteral("Elsewhere/Check1"), QStringLiteral("1"));
    other.sync();
    EXPECT_EQ(SettingsStore().read(QStringLiteral("Check1"), QStringLiteral("0")),
              QStringLiteral("0"));
}

TEST(TextToInteger, ReadsNumbersAndRefusesEverythingElse) {
    EXPECT_EQ(textToInteger(QStringLiteral("0")), 0);
    EXPECT_EQ(textToInteger(QStringLiteral("1")), 1);
    EXPECT_EQ(textToInteger(QStringLiteral(" 1 ")), 1);
    EXPECT_EQ(textToInteger(QStringLiteral("-3")), -3);
    EXPECT_EQ(textToInteger(QStringLiteral("1.5")), 2);
    EXPECT_EQ(textToInteger(QStringLiteral("2.5")), 2); // half to even
    EXPECT_EQ(textToInteger(QStringLiteral("0.4")), 0);
    for (const char* bad : {"", " ", "abc", "1x", "x1", "inf", "nan", "1,0", "99999999999"})
        EXPECT_THROW(textToInteger(QString::fromLatin1(bad)), std::runtime_error) << bad;
}

} // namespace
} // namespace velmora
