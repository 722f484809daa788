#pragma once
// Text made safe to put inside the report's rich text.
#include <QString>
#include <QStringView>

// `text` as RTF: \ { } escaped, and every character outside printable ASCII written as \uN?
// (N the signed 16-bit UTF-16 code unit, so a character beyond the BMP becomes two escapes).
// The result is plain ASCII.
QString rtfEscape(QStringView text);
// The same appended to `out`.
void appendRtfEscaped(QString& out, QStringView text);
