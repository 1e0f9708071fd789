#include "app/Usage.h"
#include "core/dispatch/ModeDispatch.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <gtest/gtest.h>

namespace korval {
namespace {

// The installed menu entry must start the program in a mode that shows the
// options dialog: what follows the program's name in its Exec line is the
// argument string the dispatch sees.
TEST(DesktopEntry, OpensTheOptionsDialog)
{
    const QString path = QFileInfo(QStringLiteral(__FILE__)).absolutePath()
                         + QStringLiteral("/../../../data/korval-options.desktop");
    ASSERT_TRUE(QFile::exists(path)) << qPrintable(path);
    QSettings entry(path, QSettings::IniFormat);
    entry.beginGroup(QStringLiteral("Desktop Entry"));

    const QStringList exec = entry.value(QStringLiteral("Exec")).toString().split(QLatin1Char(' '));
    ASSERT_FALSE(exec.isEmpty());
    EXPECT_EQ(exec.first(), QStringLiteral("korval"));
    EXPECT_EQ(selectMode(argumentString(exec).toStdString()), Mode::Configure);
    EXPECT_EQ(entry.value(QStringLiteral("Type")).toString(), QStringLiteral("Application"));
    EXPECT_EQ(entry.value(QStringLiteral("Terminal")).toString(), QStringLiteral("false"));
}

} // namespace
} // namespace korval
