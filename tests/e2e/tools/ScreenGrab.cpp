#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

// Saves what the X display shows, the whole screen, as a PNG file:
//   korval_screen_grab <file.png>
// It connects to $DISPLAY itself, so it needs no screenshot tool of the
// system; the whole-program tests and the run script use it.
int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fputs("usage: korval_screen_grab <file.png>\n", stderr);
        return 2;
    }
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        std::fputs("korval_screen_grab: no screen on this display\n", stderr);
        return 1;
    }
    const QPixmap picture = screen->grabWindow(0);
    if (picture.isNull() || !picture.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "korval_screen_grab: cannot save the screen to %s\n", argv[1]);
        return 1;
    }
    return 0;
}
