#include "LineLimit.h"

#include "TextLimit.h"

#include <QLineEdit>

void LimitLength(QLineEdit* edit, int length) {
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit, length](const QString& text) {
        if (text.size() > length) {
            const int cursor = edit->cursorPosition();
            edit->setText(CutText(text, length));
            edit->setCursorPosition(std::min(cursor, int(edit->text().size())));
        }
    });
}
