#include "core/format/TextFolding.h"

#include <QList>

namespace halvex::TextFolding {

QString foldCaseAndDiacritics(const QString& text)
{
    const QString decomposed = text.toLower().normalized(QString::NormalizationForm_D);
    QString out;
    out.reserve(decomposed.size());
    for (const char32_t scalar : decomposed.toUcs4()) {
        const auto category = QChar::category(scalar);
        if (category == QChar::Mark_NonSpacing || category == QChar::Mark_Enclosing)
            continue;
        out.append(QString::fromUcs4(&scalar, 1));
    }
    return out.normalized(QString::NormalizationForm_C);
}

} // namespace halvex::TextFolding
