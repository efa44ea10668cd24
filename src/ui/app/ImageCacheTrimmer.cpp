#include "ui/app/ImageCacheTrimmer.h"

#include "core/async/Clock.h"

#include <QFile>
#include <QRegularExpression>

namespace halvex {

ImageCacheTrimmer::ImageCacheTrimmer(Clock& clock, std::function<void()> trim,
                                     std::function<std::optional<double>()> pressure, QObject* parent)
    : QObject(parent),
      m_clock(clock),
      m_trim(std::move(trim)),
      m_pressure(std::move(pressure))
{
    m_poll = m_clock.schedule(pressureCheckMs, [this] { checkPressure(); });
}

ImageCacheTrimmer::~ImageCacheTrimmer() = default;

void ImageCacheTrimmer::setVisible(bool visible)
{
    if (visible) {
        m_hidden.reset();
        return;
    }
    if (!m_hidden)
        m_hidden = m_clock.schedule(hiddenForMs, [this] { m_trim(); });
}

void ImageCacheTrimmer::checkPressure()
{
    if (const auto percent = m_pressure(); percent && *percent > pressureLimit)
        m_trim();
    m_poll = m_clock.schedule(pressureCheckMs, [this] { checkPressure(); });
}

std::optional<double> ImageCacheTrimmer::parsePressure(const QByteArray& text)
{
    static const QRegularExpression some(QStringLiteral("^some .*avg10=([0-9.]+)"),
                                         QRegularExpression::MultilineOption);
    const auto match = some.match(QString::fromLatin1(text));
    bool ok = false;
    const double value = match.hasMatch() ? match.captured(1).toDouble(&ok) : 0;
    return ok ? std::optional<double>(value) : std::nullopt;
}

std::optional<double> ImageCacheTrimmer::systemPressure()
{
    QFile file(QStringLiteral("/proc/pressure/memory"));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return parsePressure(file.read(4096));
}

} // namespace halvex
