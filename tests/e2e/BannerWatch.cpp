#include "BannerWatch.h"

#include "DesktopDriver.h"
#include "GlyphPixels.h"

#include "core/runtime/Geometry.h"
#include "core/saver/Palette.h"

#include <QThread>

#include <gtest/gtest.h>

#include <cstdio>

namespace korval::e2e {

bool bannerShown(const QImage& screen, double devicePixelRatio)
{
    constexpr QRgb kHead = HEAD_COLOUR & RGB_MASK;
    if (screen.isNull())
        return false;
    // The frame and the caption centred on the screen's pixels (the form's
    // twips over 15), each rounded to whole pixels and then scaled to
    // device pixels, as the saver draws them.
    const double width = screen.width() / devicePixelRatio;
    const double height = screen.height() / devicePixelRatio;
    const auto drawnAt = [&](double controlWidth, double controlHeight) {
        const RectF control{float(width / 2 - controlWidth / 2), float(height / 2 - controlHeight / 2),
                            float(controlWidth), float(controlHeight)};
        const PixelRect pixels = devicePixelRect(pixelRectOf(control), devicePixelRatio);
        return QRect(pixels.x, pixels.y, pixels.width, pixels.height);
    };
    const QRect frame = drawnAt(185, 33);
    const QRect caption = drawnAt(175, 24);
    // The frame's line, one pixel wide, is as many device pixels wide; the
    // points lie on it at every ratio.
    const int last = static_cast<int>(devicePixelRatio + 0.5);
    const QPoint middle = frame.center();
    for (const QPoint& point : {QPoint(frame.left(), middle.y()), QPoint(frame.right() + 1 - last, middle.y()),
                                QPoint(middle.x(), frame.top()), QPoint(middle.x(), frame.bottom() + 1 - last)}) {
        if ((screen.pixel(point) & RGB_MASK) != kHead)
            return false;
    }
    return countGreen(screen, caption) > 100 * devicePixelRatio * devicePixelRatio;
}

BannerWatch watchBanner(qint64 keyFrom, qint64 keyBy, const std::function<QImage()>& screenshot,
                        const std::function<bool()>& running, const std::function<qint64()>& now, int patienceMs,
                        double devicePixelRatio)
{
    // The frame, the caption and the cells the last tick changed are drawn
    // in one go, which the first sample that shows the banner may catch
    // part way; the samples from 100 ms later on, taken while the saver
    // still runs, all show the picture the banner stays on.
    constexpr qint64 kSettleMs = 100;
    BannerWatch watch;
    watch.keyFrom = keyFrom;
    watch.keyBy = keyBy;
    watch.lastSeenRunning = keyBy;
    QImage settled;
    const qint64 deadline = now() + patienceMs;
    while (now() < deadline) {
        const QImage screen = screenshot();
        const qint64 at = now();
        if (screen.isNull()) {
            watch.screenshotFailed = true;
            break;
        }
        if (!running()) {
            watch.firstSeenEnded = now();
            break;
        }
        watch.lastSeenRunning = now();
        if (watch.bannerSeen < 0 && bannerShown(screen, devicePixelRatio))
            watch.bannerSeen = at;
        if (watch.bannerSeen >= 0 && at >= watch.bannerSeen + kSettleMs) {
            ++watch.settledSamples;
            if (settled.isNull()) {
                settled = screen;
                watch.settledFrom = at;
            } else if (watch.moved < 0 && screen != settled) {
                watch.moved = at;
            }
            watch.settledTo = at;
        }
        QThread::msleep(DesktopDriver::kSampleGapMs);
    }
    return watch;
}

void expectBannerForTwoSeconds(const BannerWatch& w)
{
    std::printf("the key took %lld ms to send; after it the banner was first seen at %lld ms, %d samples of the same "
                "picture from %lld to %lld ms, the end between %lld and %lld ms\n",
                w.keyBy - w.keyFrom, w.bannerSeen - w.keyBy, w.settledSamples, w.settledFrom - w.keyBy,
                w.settledTo - w.keyBy, w.lastSeenRunning - w.keyBy, w.firstSeenEnded - w.keyBy);
    ASSERT_FALSE(w.screenshotFailed) << "no screenshot";
    ASSERT_GE(w.firstSeenEnded, 0) << "still running " << w.lastSeenRunning - w.keyBy << " ms after the key";
    ASSERT_GE(w.bannerSeen, 0) << "no frame in HEAD_COLOUR round the screen's centre with the caption in it";
    EXPECT_LE(w.bannerSeen - w.keyBy, 1500) << "the banner shows at the key";

    // The end lies between the last sample that saw the saver run and the
    // first that saw it gone; the key, within the tool's run. Each bound
    // takes the side that a saver keeping to the two seconds always meets.
    EXPECT_GE(w.firstSeenEnded - w.keyFrom, 1900) << "the banner stays for two seconds";
    EXPECT_LE(w.lastSeenRunning - w.keyBy, 3500) << "then the saver ends";

    ASSERT_GE(w.settledTo - w.settledFrom, 1000)
        << "the machine was too slow to sample the banner twice a second apart while the saver ran: from "
        << w.settledFrom - w.keyBy << " to " << w.settledTo - w.keyBy << " ms after the key";
    EXPECT_LT(w.moved, 0) << "the rain moved under the banner between " << w.settledFrom - w.keyBy << " and "
                          << w.moved - w.keyBy << " ms after the key";
}

} // namespace korval::e2e
