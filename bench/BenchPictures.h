#pragma once

// Pictures for the benchmarks that run the command-line tool.

#include "bench/BenchProcess.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>

#include <algorithm>

/// A picture with gradients, shapes and sensor-like noise, so that it compresses as real ones do.
inline QImage makePicture(QRandomGenerator &random, int width, int height, int noise)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, width, height);
    gradient.setColorAt(0, QColor::fromHsv(random.bounded(360), 120, 220));
    gradient.setColorAt(1, QColor::fromHsv(random.bounded(360), 200, 90));
    painter.fillRect(image.rect(), gradient);
    for (int i = random.bounded(3, 12); i > 0; --i) {
        painter.setBrush(QColor::fromHsv(random.bounded(360), 180, 200, 160));
        painter.drawEllipse(random.bounded(width), random.bounded(height),
                            random.bounded(width / 2 + 1), random.bounded(height / 2 + 1));
    }
    painter.end();
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int d = random.bounded(2 * noise + 1) - noise;
            const QRgb p = line[x];
            line[x] = qRgb(std::clamp(qRed(p) + d, 0, 255), std::clamp(qGreen(p) + d, 0, 255),
                           std::clamp(qBlue(p) + d, 0, 255));
        }
    }
    return image;
}
