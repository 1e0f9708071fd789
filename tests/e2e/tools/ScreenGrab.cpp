#include <QGuiApplication>
#include <QPixmap>
#include <QRect>
#include <QScreen>
#include <QStringList>

#include <cstdio>

// Saves what the X display shows as a PNG file:
//   korval_screen_grab <file.png>                  the primary screen
//   korval_screen_grab --desktop <file.png>        the whole desktop, every monitor
//   korval_screen_grab --rect X,Y,W,H <file.png>   that rectangle of the desktop
// The desktop is the rectangle around all screens; its top left corner is
// (0, 0) on X11. Parts of it that no monitor shows come out as the X server
// has them (black on a fresh server).
// It connects to $DISPLAY itself, so it needs no screenshot tool of the
// system; the whole-program tests and the run script use it.
namespace {

int usage()
{
    std::fputs("usage: korval_screen_grab [--desktop | --rect X,Y,WIDTH,HEIGHT] <file.png>\n", stderr);
    return 2;
}

bool parseRect(const QString& text, QRect* rect)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return false;
    int values[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = parts[i].toInt(&ok);
        if (!ok)
            return false;
    }
    *rect = QRect(values[0], values[1], values[2], values[3]);
    return rect->width() > 0 && rect->height() > 0;
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication application(argc, argv);
    const QStringList arguments = QGuiApplication::arguments().mid(1);
    enum class Area { Primary, Desktop, Rect } area = Area::Primary;
    QRect rect;
    QString file;
    if (arguments.size() == 1) {
        file = arguments[0];
    } else if (arguments.size() == 2 && arguments[0] == QLatin1String("--desktop")) {
        area = Area::Desktop;
        file = arguments[1];
    } else if (arguments.size() == 3 && arguments[0] == QLatin1String("--rect") && parseRect(arguments[1], &rect)) {
        area = Area::Rect;
        file = arguments[2];
    } else {
        return usage();
    }
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        std::fputs("korval_screen_grab: no screen on this display\n", stderr);
        return 1;
    }
    if (area == Area::Desktop)
        rect = screen->virtualGeometry();
    QPixmap picture;
    if (area == Area::Primary) {
        picture = screen->grabWindow(0);
    } else {
        // With no window, Qt grabs the root window from the screen's corner
        // on, and takes any size.
        const QPoint corner = screen->geometry().topLeft();
        picture = screen->grabWindow(0, rect.x() - corner.x(), rect.y() - corner.y(), rect.width(), rect.height());
    }
    if (picture.isNull() || !picture.save(file, "PNG")) {
        std::fprintf(stderr, "korval_screen_grab: cannot save the screen to %s\n", qPrintable(file));
        return 1;
    }
    return 0;
}
