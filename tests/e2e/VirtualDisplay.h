#pragma once

#include <QProcess>
#include <QString>

namespace korval::e2e {

// An X server of its own for one test: Xvfb with one screen at 24 bits,
// 1024 x 768 unless a test asks for another size, on a display number
// nobody else uses. It is stopped when the object goes, whatever the test
// did.
class VirtualDisplay {
public:
    static constexpr int kWidth = 1024;
    static constexpr int kHeight = 768;

    explicit VirtualDisplay(int width = kWidth, int height = kHeight);
    ~VirtualDisplay();
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    // Whether the server accepts connections; error() says why not.
    bool isReady() const { return ready_; }
    const QString& error() const { return error_; }
    // ":<number>", the value for DISPLAY.
    QString name() const { return QStringLiteral(":%1").arg(number_); }

private:
    bool tryStart(int number);

    int width_;
    int height_;
    QProcess server_;
    int number_ = -1;
    bool ready_ = false;
    QString error_;
};

} // namespace korval::e2e
