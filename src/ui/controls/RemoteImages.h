#pragma once
// Service images for QML: "image://remote/<variant>/<width>x<height>/<address, percent-encoded>",
// for example "image://remote/avatar/56x56/https%3A%2F%2F…". Loads go through the one image
// store, on the GUI thread; a failure shows the Image's placeholder (its status is Error).
#include <QQuickAsyncImageProvider>

namespace halvex {

class APIClient;

class RemoteImages : public QQuickAsyncImageProvider {
public:
    explicit RemoteImages(APIClient& api) : m_api(api) {}
    QQuickImageResponse* requestImageResponse(const QString& id, const QSize& requestedSize) override;

private:
    APIClient& m_api;
};

} // namespace halvex
