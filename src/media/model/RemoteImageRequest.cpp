#include "media/model/RemoteImageRequest.h"

#include <algorithm>
#include <cmath>

namespace halvex {

QString RemoteImageRequest::cacheKey() const
{
    QString component;
    switch (variant) {
    case Variant::avatar:
        component = QStringLiteral("avatar-%1").arg(pixels.width());
        break;
    case Variant::serviceBadge:
        component = QStringLiteral("badge-%1").arg(pixels.width());
        break;
    case Variant::thumbnail:
        component = QStringLiteral("thumbnail-%1x%2").arg(pixels.width()).arg(pixels.height());
        break;
    case Variant::artifact:
        component = QStringLiteral("artifact-%1x%2").arg(pixels.width()).arg(pixels.height());
        break;
    }
    return component + QLatin1Char('|') + url.toString(QUrl::FullyEncoded);
}

int RemoteImageRequest::pixelsFor(double points, double scale)
{
    return std::max(1, int(std::ceil(std::max(scale, 1.0) * std::max(points, 0.0))));
}

QSize RemoteImageRequest::outputSize(QSize source) const
{
    if (variant != Variant::artifact)
        return pixels.expandedTo(QSize(1, 1));
    if (source.width() <= 0 || source.height() <= 0)
        return {};
    const double scale
        = std::min({double(pixels.width()) / source.width(), double(pixels.height()) / source.height(), 1.0});
    return {std::max(1, int(std::lround(source.width() * scale))),
            std::max(1, int(std::lround(source.height() * scale)))};
}

} // namespace halvex
