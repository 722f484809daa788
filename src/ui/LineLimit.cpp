#include "LineLimit.h"

#include "TextLimit.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>

namespace {

// Fits every change of the box into `length` units. A change arrives as the whole new text with
// the cursor just after what was inserted; what follows the cursor is the old text after the
// insertion, so only the inserted part is cut.
class LengthValidator : public QValidator {
public:
    LengthValidator(QLineEdit* edit, int length)
        : QValidator(edit), length(length), before(edit->text()) {
        connect(edit, &QLineEdit::textChanged, this, [this](const QString& t) { before = t; });
    }

    State validate(QString& input, int& pos) const override {
        if (input.size() <= length)
            return Acceptable;
        const qsizetype after = input.size() - pos;
        // The old text kept in front of the insertion: at most what precedes the kept tail.
        qsizetype head = 0;
        const qsizetype headMost = std::min<qsizetype>(pos, before.size() - after);
        while (head < headMost && before.at(head) == input.at(head))
            ++head;
        QString kept = cutText(input.left(pos), std::max<qsizetype>(length - after, head));
        if (kept.size() < head)
            kept = input.left(head);
        input = kept + input.mid(pos);
        pos = int(kept.size());
        // Never Invalid: for text set from code that would keep the text uncut.
        return Acceptable;
    }

private:
    int length;
    QString before;
};

// Refuses a key whose text does not fit, before the box inserts it.
class KeyLimit : public QObject {
public:
    KeyLimit(QLineEdit* edit, int length) : QObject(edit), edit(edit), length(length) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        const QString typed = static_cast<QKeyEvent*>(event)->text();
        // Control characters (Ctrl+V, Backspace) are commands, not text.
        if (typed.isEmpty() || !typed.front().isPrint())
            return QObject::eventFilter(watched, event);
        const qsizetype after = edit->text().size() - edit->selectedText().size() + typed.size();
        if (after > length) {
            event->accept();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QLineEdit* edit;
    int length;
};

} // namespace

void limitLength(QLineEdit* edit, int length) {
    edit->setValidator(new LengthValidator(edit, length));
    edit->installEventFilter(new KeyLimit(edit, length));
}
