// Paths as they enter the designer.

#include "base/host_paths.h"

#include "temp_dir.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace ry::test {
namespace {

TEST(HostPaths, ANameIsMadeAbsoluteAndKeepsItsBlanksWhenItExistsSo) {
    TempDir dir;
    dir.Write("a.rys ", "x"); // the blank is part of the name
    dir.Write("b.rys", "x");
    const QString folder = QString::fromStdString(dir.path().string());
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder));
    struct Case {
        QString given, expected;
    } cases[] = {
        {QStringLiteral("a.rys "), folder + QStringLiteral("/a.rys ")},
        {QStringLiteral("  b.rys "), folder + QStringLiteral("/b.rys")},
        {QStringLiteral("-x.rys"), folder + QStringLiteral("/-x.rys")},
        {QStringLiteral("/w/c.rys"), QStringLiteral("/w/c.rys")},
        {QStringLiteral("   "), QString()},
        {QString(), QString()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AbsoluteScriptPath(c.given), c.expected) << c.given.toStdString();
    QDir::setCurrent(before);
}

TEST(HostPaths, ANameThatIsNotValidTextIsNotWhole) {
    EXPECT_TRUE(IsWholeHostName("/w/caf\xc3\xa9.rys"));
    EXPECT_TRUE(IsWholeHostName("/w/a.rys"));
    EXPECT_FALSE(IsWholeHostName("/w/\xff.rys"));
    EXPECT_FALSE(IsWholeHostName("/w/caf\xe9.rys"));
}

} // namespace
} // namespace ry::test
