#pragma once
// Empties the image cache when the app no longer needs it warm. Linux sends no memory-pressure
// event to applications, so two signals stand in: the app hidden for five minutes, and the
// kernel's pressure-stall figure for memory (/proc/pressure/memory, "some avg10") above 10 %,
// read once a minute.
#include <QObject>

#include <functional>
#include <memory>

namespace halvex {

class Clock;
class TimerHandle;

class ImageCacheTrimmer : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 hiddenForMs = 5 * 60 * 1000;
    static constexpr qint64 pressureCheckMs = 60 * 1000;
    static constexpr double pressureLimit = 10.0;

    // `trim` empties the cache; `pressure` reads the memory pressure (percent), absent when the
    // system does not say.
    ImageCacheTrimmer(Clock& clock, std::function<void()> trim, std::function<std::optional<double>()> pressure,
                      QObject* parent = nullptr);
    ~ImageCacheTrimmer() override;

    void setVisible(bool visible);
    // "some avg10=12.34 …" → 12.34.
    static std::optional<double> parsePressure(const QByteArray& text);
    static std::optional<double> systemPressure();

private:
    void checkPressure();

    Clock& m_clock;
    std::function<void()> m_trim;
    std::function<std::optional<double>()> m_pressure;
    std::unique_ptr<TimerHandle> m_hidden;
    std::unique_ptr<TimerHandle> m_poll;
};

} // namespace halvex
