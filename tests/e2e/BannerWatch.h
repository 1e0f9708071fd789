#pragma once

#include <QImage>
#include <QtGlobal>

#include <functional>

namespace korval::e2e {

// Whether a picture of a 1024 x 768 screen shows the banner: its frame,
// 185 x 33 pixels drawn at (420, 368) in the head colour, with the caption
// in it. At a device pixel ratio the screen is that many times fewer pixels
// and the banner, centred on them, that many times larger in device pixels:
// at 2, its frame's 370 x 66 device pixels at (328, 352).
bool bannerShown(const QImage& screen, double devicePixelRatio = 1.0);

// What samples of the screen, taken from a key until the saver ended,
// showed: each is stamped with the time the picture came (on the test's
// clock, in milliseconds), so the rules are checked against measured times.
struct BannerWatch {
    qint64 keyFrom = -1; // the key was sent not before this
    qint64 keyBy = -1;   // and had reached the server by this
    qint64 bannerSeen = -1;
    qint64 settledFrom = -1; // the samples from here to settledTo were one picture
    qint64 settledTo = -1;
    qint64 moved = -1; // the first sample that differed from that picture
    int settledSamples = 0;
    qint64 lastSeenRunning = -1;
    qint64 firstSeenEnded = -1; // -1: still running when the patience ran out
    bool screenshotFailed = false;
};

// Samples the screen every few milliseconds after a key until the saver
// has ended or the patience is spent.
BannerWatch watchBanner(qint64 keyFrom, qint64 keyBy, const std::function<QImage()>& screenshot,
                        const std::function<bool()>& running, const std::function<qint64()>& now, int patienceMs,
                        double devicePixelRatio = 1.0);

// Checks the rules on the samples and prints their figures: the banner shows
// at the key, the rain stands still under it (two samples a second apart at
// least, or the machine was too slow to tell, which fails with the figures),
// and the saver ends two seconds after the key.
void expectBannerForTwoSeconds(const BannerWatch& watch);

} // namespace korval::e2e
