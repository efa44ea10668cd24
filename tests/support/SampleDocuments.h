#pragma once
// Small real documents for tests that open them: a one-page PDF any reader accepts, and a CSV.
#include <QByteArray>
#include <QList>

namespace halvex::test {

// A one-page PDF showing `line` in Helvetica, with a correct cross-reference table.
inline QByteArray onePagePdf(const QByteArray& line)
{
    const QByteArray stream = "BT /F1 24 Tf 72 700 Td (" + line + ") Tj ET";
    const QList<QByteArray> objects{"<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                                    "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 4 0 R"
                                    " /Resources << /Font << /F1 5 0 R >> >> >>",
                                    "<< /Length " + QByteArray::number(stream.size()) + " >>\nstream\n" + stream
                                        + "\nendstream",
                                    "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"};
    QByteArray pdf = "%PDF-1.4\n";
    QList<qsizetype> offsets;
    for (qsizetype i = 0; i < objects.size(); ++i) {
        offsets << pdf.size();
        pdf += QByteArray::number(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const qsizetype xref = pdf.size();
    pdf += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (qsizetype offset : offsets)
        pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n"
        + QByteArray::number(xref) + "\n%%EOF\n";
    return pdf;
}

inline QByteArray bakerySalesCsv()
{
    return "day,loaves,pastries\nMonday,120,64\nTuesday,98,\"71, incl. 5 spoiled\"\nWednesday,131,80\n";
}

} // namespace halvex::test
