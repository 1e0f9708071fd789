#pragma once

#include "saver/SaverForm.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QRect>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <optional>
#include <vector>

namespace korval::bench {

// A configuration of Qt's offscreen platform with these screens, at 96 dpi
// and one device pixel per pixel, written into the folder; its path.
inline QString offscreenScreens(const QTemporaryDir& folder, const QString& name, const std::vector<QRect>& screens)
{
    const QString path = folder.filePath(name + QStringLiteral(".json"));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        QTextStream out(&file);
        out << "{ \"synchronousWindowSystemEvents\": true, \"screens\": [";
        for (std::size_t i = 0; i < screens.size(); ++i) {
            const QRect& screen = screens[i];
            out << (i ? ", " : " ") << "{ \"name\": \"" << name << i << "\", \"x\": " << screen.x()
                << ", \"y\": " << screen.y() << ", \"width\": " << screen.width() << ", \"height\": " << screen.height()
                << ", \"logicalDpi\": 96, \"dpr\": 1 }";
        }
        out << " ] }\n";
    }
    return path;
}

// Starts the saver as the program does, with the rain's timer off (the
// benchmark ticks by hand), and returns once every window is exposed and
// painted whole.
inline void startTickedByHand(SaverForm& form)
{
    form.form1().Timer1.setEnabled(false);
    form.form1().StartSaver();
    form.show();
    std::vector<SaverWindow*> windows{&form.window()};
    for (std::size_t i = 0; i < form.form1().otherScreens().size(); ++i)
        windows.push_back(&form.screenWindow(i));
    for (SaverWindow* window : windows) {
        while (!window->isExposed())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    form.form1().stage().repaintChanges();
}

// Runs this program again as `program --case arguments...` on the offscreen
// screens of the configuration, each case in a process of its own so that
// its peak memory is its own, and returns the figures it printed on one
// line; nothing, after a line under the case's label that says why, when it
// failed or printed fewer than `fields`.
inline std::optional<QList<QByteArray>> figuresOfCase(const QString& program, const QString& screens,
                                                      const QStringList& arguments, qsizetype fields, const char* label,
                                                      int labelWidth)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen:configfile=") + screens);
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(program, QStringList{QStringLiteral("--case")} + arguments);
    if (!child.waitForFinished(600000) || child.exitCode() != 0) {
        std::printf("%-*s failed\n", labelWidth, label);
        return std::nullopt;
    }
    QList<QByteArray> figures = child.readAllStandardOutput().trimmed().split(' ');
    if (figures.size() < fields) {
        std::printf("%-*s no figures\n", labelWidth, label);
        return std::nullopt;
    }
    return figures;
}

} // namespace korval::bench
