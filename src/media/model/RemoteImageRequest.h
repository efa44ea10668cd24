#pragma once
// An image the service hands out, asked for at the pixel size it is shown at. Two sizes of one
// address are two cache entries.
#include <QSize>
#include <QString>
#include <QUrl>

namespace halvex {

struct RemoteImageRequest {
    enum class Variant { avatar, serviceBadge, thumbnail, artifact };

    QUrl url;
    Variant variant = Variant::avatar;
    QSize pixels; // side × side for avatars and badges; the box for thumbnails and artifacts

    static RemoteImageRequest avatar(QUrl url, int side) { return {std::move(url), Variant::avatar, {side, side}}; }
    static RemoteImageRequest badge(QUrl url, int side)
    {
        return {std::move(url), Variant::serviceBadge, {side, side}};
    }
    static RemoteImageRequest thumbnail(QUrl url, QSize box) { return {std::move(url), Variant::thumbnail, box}; }
    static RemoteImageRequest artifact(QUrl url, QSize max) { return {std::move(url), Variant::artifact, max}; }

    // "avatar-56|https://…", "thumbnail-320x200|…", "artifact-1200x1200|…".
    QString cacheKey() const;
    // The pixels of `points` on a display of `scale`: at least 1.
    static int pixelsFor(double points, double scale);
    // The size the image comes out at for a source of `source` pixels; artifacts never enlarge.
    QSize outputSize(QSize source) const;
};

} // namespace halvex
