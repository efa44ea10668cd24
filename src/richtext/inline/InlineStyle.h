#pragma once
// What the interface decides about inline rich text: the scheme's colours, the softened bold
// and the code font. Part of every rendered-text cache key, so a scheme change renders anew.
#include <QString>
#include <QtGlobal>

namespace halvex {

struct InlineStyle {
    // 0xRRGGBB, as QColor::rgb() & 0xffffff gives them.
    quint32 linkColor = 0x3B5BDB;
    quint32 mentionColor = 0x3B5BDB;
    quint32 codeBackground = 0xF3F3F1;
    int boldWeight = 600;
    QString codeFont = QStringLiteral("JetBrains Mono");
    double codePointSize = 12.5;

    QString cacheKey() const;
    bool operator==(const InlineStyle&) const = default;
};

} // namespace halvex
