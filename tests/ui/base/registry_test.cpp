#include "base/registry.h"

#include "test_home.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>

namespace ry {
namespace {

// Every test starts from empty settings in the test program's own home folder, so that
// neither the user's settings nor a test running in parallel are touched.
class RegistryTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { home_ = &test::TestHome(); }
    void SetUp() override {
        QSettings settings(QStringLiteral("Cordaxa"), QStringLiteral("Ryvane"));
        ASSERT_TRUE(settings.fileName().startsWith(*home_)) << settings.fileName().toStdString();
        settings.clear();
        settings.sync();
    }

    static QString Stored(const QString& key) {
        return QSettings(QStringLiteral("Cordaxa"), QStringLiteral("Ryvane")).value(key).toString();
    }

    // The error a call throws; fails the test when it throws none.
    static std::optional<RegistryError> ErrorOf(const std::function<void()>& call) {
        try {
            call();
        } catch (const RegistryError& e) {
            return e;
        }
        return std::nullopt;
    }

    static const QString* home_;
    CRegistry reg_;
};

const QString* RegistryTest::home_ = nullptr;

const QString kScreenPos = QStringLiteral("Software\\Cordaxa\\Ryvane\\ScreenPos");

TEST_F(RegistryTest, PathsMapOntoGroupsBelowTheApplicationKey) {
    reg_.OpenKey(kHkeyCurrentUser, QStringLiteral("\\Software/Cordaxa/Ryvane"), false);
    EXPECT_EQ(reg_.CurrentKey(), QStringLiteral("Software\\Cordaxa\\Ryvane"));
    reg_.WriteValue(QStringLiteral("Top"), QStringLiteral("1"));

    reg_.OpenKey(kHkeyCurrentUser, kScreenPos, true);
    EXPECT_EQ(reg_.CurrentKey(), kScreenPos);
    reg_.WriteValue(QStringLiteral("KemLeft"), QStringLiteral("1440"));
    reg_.OpenKey(kHkeyCurrentUser, QStringLiteral("Software\\Cordaxa\\Ryvane\\Recent File List"),
                 true);
    reg_.WriteValue(QStringLiteral("File1"), QStringLiteral("/home/op/a, b.rys"));
    reg_.CloseKey();

    EXPECT_EQ(Stored(QStringLiteral("Top")), QStringLiteral("1"));
    EXPECT_EQ(Stored(QStringLiteral("ScreenPos/KemLeft")), QStringLiteral("1440"));
    EXPECT_EQ(Stored(QStringLiteral("Recent File List/File1")),
              QStringLiteral("/home/op/a, b.rys"));

    // Names match without regard to case, as in the registry.
    reg_.OpenKey(kHkeyCurrentUser, QStringLiteral("software\\cordaxa\\ryvane\\screenpos"), false);
    EXPECT_EQ(reg_.ReadValue(QStringLiteral("kemleft")), QStringLiteral("1440"));
    reg_.WriteValue(QStringLiteral("KEMLEFT"), QStringLiteral("0"));
    EXPECT_EQ(Stored(QStringLiteral("ScreenPos/KemLeft")), QStringLiteral("0"));
    EXPECT_EQ(reg_.NumOfValues(), 1);
}

TEST_F(RegistryTest, OpenFailuresCarryNumberSourceAndText) {
    const struct {
        std::uint32_t root;
        QString path;
        bool create;
        const char* description;
    } cases[] = {
        {kHkeyCurrentUser, kScreenPos, false,
         "Failed to open key Software\\Cordaxa\\Ryvane\\ScreenPos."},
        {kHkeyCurrentUser, QStringLiteral("Software\\Other"), true,
         "Failed to create key Software\\Other."},
        {kHkeyCurrentUser, QStringLiteral("Software\\Cordaxa\\RyvaneX"), true,
         "Failed to create key Software\\Cordaxa\\RyvaneX."},
        {kHkeyLocalMachine, QStringLiteral("Software\\Cordaxa\\Ryvane"), false,
         "Failed to open key Software\\Cordaxa\\Ryvane."},
        {kHkeyCurrentUser, QStringLiteral("Software\\Cordaxa\\Ryvane\\\\X"), true,
         "Failed to create key Software\\Cordaxa\\Ryvane\\\\X."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.description);
        auto e = ErrorOf([&] { reg_.OpenKey(c.root, c.path, c.create); });
        ASSERT_TRUE(e.has_value());
        EXPECT_EQ(e->Number(), 0x80040002u);
        EXPECT_EQ(e->Source(), "CRegistry:OpenKey");
        EXPECT_EQ(e->Description(), c.description);
        EXPECT_FALSE(reg_.IsOpen());
    }
}

TEST_F(RegistryTest, CreatedKeyExistsOnceItHoldsAValue) {
    reg_.OpenKey(kHkeyCurrentUser, kScreenPos + QStringLiteral("\\Deeper"), true);
    reg_.CloseKey();
    EXPECT_TRUE(ErrorOf([&] { reg_.OpenKey(kHkeyCurrentUser, kScreenPos, false); }));

    reg_.OpenKey(kHkeyCurrentUser, kScreenPos + QStringLiteral("\\Deeper"), true);
    reg_.WriteValue(QStringLiteral("x"), QStringLiteral("1"));
    reg_.OpenKey(kHkeyCurrentUser, kScreenPos, false); // exists through its subkey
    EXPECT_EQ(reg_.NumOfSubKeys(), 1);
    EXPECT_EQ(reg_.MaxSubkeyNameLength(), 6);
    EXPECT_EQ(reg_.NumOfValues(), 0);
}

TEST_F(RegistryTest, OpeningASecondKeyClosesTheFirst) {
    reg_.OpenKey(kHkeyCurrentUser, kScreenPos, true);
    reg_.WriteValue(QStringLiteral("KemTop"), QStringLiteral("10"));
    reg_.OpenKey(kHkeyCurrentUser, QStringLiteral("Software\\Cordaxa\\Ryvane\\Other"), true);
    EXPECT_EQ(reg_.ReadValue(QStringLiteral("KemTop")), QString());
    EXPECT_EQ(reg_.CurrentKey(), QStringLiteral("Software\\Cordaxa\\Ryvane\\Other"));

    // A failed open leaves no key open either.
    EXPECT_TRUE(ErrorOf([&] { reg_.OpenKey(kHkeyCurrentUser, QStringLiteral("Nowhere"), false); }));
    EXPECT_FALSE(reg_.IsOpen());
    EXPECT_EQ(reg_.CurrentKey(), QString());
}

TEST_F(RegistryTest, ValuesReadWriteAndDelete) {
    reg_.OpenKey(kHkeyCurrentUser, kScreenPos, true);
    EXPECT_EQ(reg_.ReadValue(QStringLiteral("KemWidth")), QString()); // missing: no error
    reg_.WriteValue(QStringLiteral("KemWidth"), QStringLiteral("@odd, text"));
    reg_.WriteValue(QStringLiteral("Empty"), QString());
    EXPECT_EQ(reg_.ReadValue(QStringLiteral("KemWidth")), QStringLiteral("@odd, text"));
    EXPECT_EQ(reg_.ReadValue(QStringLiteral("Empty")), QString());
    EXPECT_EQ(reg_.NumOfValues(), 2);
    EXPECT_EQ(reg_.MaxValueNameLength(), 8);
    EXPECT_EQ(reg_.MaxValueLength(), 10);

    // The read buffer holds 1023 characters and the terminating zero.
    reg_.WriteValue(QStringLiteral("Long"), QString(1023, QLatin1Char('x')));
    EXPECT_EQ(reg_.ReadValue(QStringLiteral("Long")).size(), 1023);
    reg_.WriteValue(QStringLiteral("Long"), QString(1024, QLatin1Char('x')));
    EXPECT_EQ(reg_.ReadValue(QStringLiteral("Long")), QString());

    reg_.DeleteValue(QStringLiteral("kemwidth"));
    EXPECT_EQ(reg_.ReadValue(QStringLiteral("KemWidth")), QString());
    auto e = ErrorOf([&] { reg_.DeleteValue(QStringLiteral("KemWidth")); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->Source(), "CRegistry:DeleteValue");
    EXPECT_EQ(e->Description(), "Failed to delete value KemWidth from Registry.");

    // Names that would become groups of the settings are refused.
    e = ErrorOf([&] { reg_.WriteValue(QStringLiteral("a/b"), QStringLiteral("1")); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->Source(), "CRegistry:WriteValue");
    EXPECT_EQ(e->Description(), "Failed to write new value to a/b from Registry.");
    EXPECT_EQ(reg_.ReadValue(QStringLiteral("a\\b")), QString());
    EXPECT_EQ(reg_.NumOfSubKeys(), 0);
}

TEST_F(RegistryTest, WithoutAnOpenKey) {
    const struct {
        const char* source;
        const char* description;
        std::function<void(CRegistry&)> call;
    } cases[] = {
        {"CRegistry:ReadValue", "No key is currently open.",
         [](CRegistry& r) { r.ReadValue(QStringLiteral("x")); }},
        {"CRegistry:WriteValue", "No key is currently open.",
         [](CRegistry& r) { r.WriteValue(QStringLiteral("x"), QStringLiteral("1")); }},
        {"CRegistry:DeleteValue", "No key is currently open.",
         [](CRegistry& r) { r.DeleteValue(QStringLiteral("x")); }},
        {"CRegistry:RefreshKeyInfo", "Failed to retrieve key information.",
         [](CRegistry& r) { r.NumOfValues(); }},
        {"CRegistry:DeleteKey", "Failed to delete key .", [](CRegistry& r) { r.DeleteKey(); }},
    };
    reg_.OpenKey(kHkeyCurrentUser, kScreenPos, true);
    reg_.CloseKey();
    reg_.CloseKey(); // closing twice does nothing
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source);
        auto e = ErrorOf([&] { c.call(reg_); });
        ASSERT_TRUE(e);
        EXPECT_EQ(e->Number(), kRegistryErrorNumber);
        EXPECT_EQ(e->Source(), c.source);
        EXPECT_EQ(e->Description(), c.description);
        EXPECT_STREQ(e->what(), c.description);
    }
}

TEST_F(RegistryTest, DeleteKeyRemovesItsValuesButNotAKeyWithSubkeys) {
    reg_.OpenKey(kHkeyCurrentUser, kScreenPos + QStringLiteral("\\Inner"), true);
    reg_.WriteValue(QStringLiteral("a"), QStringLiteral("1"));
    reg_.OpenKey(kHkeyCurrentUser, kScreenPos, false);
    reg_.WriteValue(QStringLiteral("KemTop"), QStringLiteral("5"));

    auto e = ErrorOf([&] { reg_.DeleteKey(); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->Source(), "CRegistry:DeleteKey");
    EXPECT_EQ(e->Description(), "Failed to delete key Software\\Cordaxa\\Ryvane\\ScreenPos.");
    EXPECT_FALSE(reg_.IsOpen());
    EXPECT_EQ(Stored(QStringLiteral("ScreenPos/KemTop")), QStringLiteral("5"));

    reg_.OpenKey(kHkeyCurrentUser, kScreenPos + QStringLiteral("\\Inner"), false);
    reg_.DeleteKey();
    EXPECT_FALSE(reg_.IsOpen());
    EXPECT_EQ(reg_.CurrentKey(), QString());
    EXPECT_TRUE(ErrorOf([&] { reg_.OpenKey(kHkeyCurrentUser, kScreenPos + "\\Inner", false); }));
    EXPECT_EQ(Stored(QStringLiteral("ScreenPos/KemTop")), QStringLiteral("5"));
}

TEST_F(RegistryTest, ReadRegLong) {
    reg_.OpenKey(kHkeyCurrentUser, kScreenPos, true);
    const struct {
        const char* stored; // nullptr: no value yet
        std::int32_t expected;
    } cases[] = {
        {nullptr, 1000},      {"", 1000},
        {"1440", 1440},       {" -20 ", -20},
        {"12.5", 12},         {"13.5", 14},
        {"abc", 1000},        {"12ab", 1000},
        {"3000000000", 1000}, {"2147483647", 2147483647},
        {"&H10", 16},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored ? c.stored : "(none)");
        if (c.stored)
            reg_.WriteValue(QStringLiteral("KemLeft"), QString::fromLatin1(c.stored));
        EXPECT_EQ(ReadRegLong(reg_, QStringLiteral("KemLeft"), 1000), c.expected);
    }
}

} // namespace
} // namespace ry
