#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>

#include <cstdint>

namespace korval::e2e {

// A plain black X window made by a program of its own (korval_plain_window),
// as a screen-saver host makes the window it hands to a display program.
// The window and its program go when the object goes.
class PlainWindow {
public:
    PlainWindow(const QRect& geometry, const QProcessEnvironment& environment);
    ~PlainWindow();
    PlainWindow(const PlainWindow&) = delete;
    PlainWindow& operator=(const PlainWindow&) = delete;

    static bool isAvailable();

    // The window's id once it shows, or 0 when it does not.
    std::uint32_t id() const { return id_; }
    QString hexadecimalId() const { return QStringLiteral("0x%1").arg(id_, 0, 16); }
    QString decimalId() const { return QString::number(id_); }
    const QRect& geometry() const { return geometry_; }

    void resize(int width, int height);
    void destroy();

private:
    void command(const QString& line);

    QProcess process_;
    QRect geometry_;
    std::uint32_t id_ = 0;
};

} // namespace korval::e2e
