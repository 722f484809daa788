#include "frmDietDetails.h"

#include "Config.h"
#include "DailyTargets.h"
#include "MainLayout.h"
#include "NumberText.h"
#include "TreeControlCodes.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QVBoxLayout>

namespace {
// A screen reader is told that the totals are a window of their own, not a pane of another.
QAccessibleInterface* accessibleTotals(const QString&, QObject* object) {
    if (auto* totals = qobject_cast<frmDietDetails*>(object))
        return new QAccessibleWidget(totals, QAccessible::Window);
    return nullptr;
}
// Installed before any window exists: the first look at a window fixes how it is presented.
const bool accessibleTotalsInstalled = (QAccessible::installFactory(accessibleTotals), true);

// The grey of the window and its labels.
const QColor kGrey(0xE0, 0xE0, 0xE0);

QLabel* makeLabel(const char* name, const QString& caption, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setAutoFillBackground(true);
    return label;
}

// How far a day is towards a target: an outlined bar, hatched as far as the day has come, so it
// reads without colour; a screen reader hears it as a progress bar.
class TargetBar : public QProgressBar {
public:
    TargetBar(long long percent, QWidget* parent) : QProgressBar(parent) {
        setRange(0, 100);
        setValue(int(std::clamp(percent, 0LL, 100LL)));
        setTextVisible(false);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QColor ink = palette().color(QPalette::WindowText);
        const QRect frame = rect().adjusted(0, 0, -1, -1);
        QRect done = frame;
        done.setWidth(frame.width() * value() / maximum());
        painter.fillRect(done, QBrush(ink, Qt::BDiagPattern));
        painter.setPen(ink);
        painter.drawRect(frame);
        painter.drawLine(done.topRight(), done.bottomRight());
    }
};

QLineEdit* makeBox(const char* name, QWidget* owner, QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setReadOnly(true);
    box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    box->setFixedWidth(Twips::toPixels(1000, owner));
    // The boxes can be clicked into to copy a figure, but the window keeps the keyboard first.
    box->setFocusPolicy(Qt::ClickFocus);
    return box;
}
} // namespace

frmDietDetails::frmDietDetails(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmDietDetails"));
    setWindowTitle(QStringLiteral("Diet Totals"));
    setAccessibleName(windowTitle());
    setAttribute(Qt::WA_DeleteOnClose);
    setFocusPolicy(Qt::StrongFocus);
    QPalette grey = palette();
    grey.setColor(QPalette::Window, kGrey);
    setPalette(grey);
    setAutoFillBackground(true);

    auto* outer = new QVBoxLayout(this);
    const int margin = Twips::toPixels(60, this);
    outer->setContentsMargins(margin, margin, margin, margin);
    Shape1 = new QFrame(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setFrameShape(QFrame::Box);
    Shape1->setFrameShadow(QFrame::Plain);
    outer->addWidget(Shape1);

    auto* grid = new QGridLayout(Shape1);
    const int inner = Twips::toPixels(120, this);
    grid->setContentsMargins(inner, inner, inner, inner);
    grid->setHorizontalSpacing(inner);
    grid->setVerticalSpacing(Twips::toPixels(45, this));
    this->grid = grid;
    size_t rowCount = 0;
    auto row = [&](const char* column, QLabel*& label, const char* labelName,
                   const QString& caption, QLineEdit*& box, const char* boxName) {
        const int r = int(rowCount);
        label = makeLabel(labelName, caption, Shape1);
        label->setMinimumWidth(Twips::toPixels(1300, this));
        box = makeBox(boxName, this, Shape1);
        label->setBuddy(box); // a screen reader names each figure by its label
        grid->addWidget(label, r, 0);
        grid->addWidget(box, r, 1);
        rows[rowCount++] = {column, label, box};
    };
    row("Fat", Label1, "Label1", QStringLiteral("Fat"), txtFat, "txtFat");
    row("Carbohydrate", Label2, "Label2", QStringLiteral("Carbohydrates"), txtCarb, "txtCarb");
    row("Protein", Label8, "Label8", QStringLiteral("Protein"), txtProtein, "txtProtein");
    row("Calorie", Label7, "Label7", QStringLiteral("Calories"), txtCalorie, "txtCalorie");
    row("Cholesterol", Label6, "Label6", QStringLiteral("Cholesterol"), txtCholesterol,
        "txtCholesterol");
    row("Sodium", Label5, "Label5", QStringLiteral("Sodium"), txtSodium, "txtSodium");
    row("Other1", lblOther1, "lblOther1", QString(), txtOther1, "txtOther1");
    row("Other2", lblOther2, "lblOther2", QString(), txtOther2, "txtOther2");

    Form_Load();
    adjustSize();
}

void frmDietDetails::Form_Load() {
    lblOther1->setText(GetConfigValue(QStringLiteral("OTHER1")));
    lblOther2->setText(GetConfigValue(QStringLiteral("OTHER2")));
}

void frmDietDetails::showTarget(const QString& column, const QVariant& value, double target) {
    for (size_t i = 0; i < rows.size(); ++i) {
        const Row& row = rows[i];
        if (column.compare(QString::fromLatin1(row.column), Qt::CaseInsensitive) != 0)
            continue;
        // A day without a figure for it has come no way towards the target.
        const double v = value.isNull() ? 0.0 : value.toDouble();
        const long long percent = TargetPercent(v, target);
        const QString percentText = QString::number(percent) + u'%';
        row.box->setText(QStringLiteral("%1 of %2 (%3)")
                             .arg(NutrientText(v), NutrientText(target), percentText));
        // Every figure's box as wide as the widest text, so the column stays straight.
        const int wide =
            row.box->fontMetrics().horizontalAdvance(row.box->text() + QStringLiteral("  ")) +
            Twips::toPixels(200, this);
        for (const Row& other : rows)
            other.box->setFixedWidth(std::max(other.box->minimumWidth(), wide));
        auto* bar = new TargetBar(percent, Shape1);
        bar->setObjectName(QStringLiteral("barTarget") + QString::fromLatin1(row.column));
        const QString name =
            row.label->text().isEmpty()
                ? OptionalNutrientName(QString::fromLatin1(row.column).right(1).toInt())
                : row.label->text();
        bar->setAccessibleName(name + QStringLiteral(": ") + percentText +
                               QStringLiteral(" of target"));
        bar->setFixedSize(Twips::toPixels(1200, this), row.box->sizeHint().height());
        grid->addWidget(bar, int(i), 2);
        adjustSize();
        return;
    }
}

void frmDietDetails::Form_KeyDown(int keyCode, int /*shift*/) {
    if (keyCode == TreeKey::Escape)
        close();
}

void frmDietDetails::Form_LostFocus() {
    close();
}

void frmDietDetails::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    qApp->installEventFilter(this);
    activateWindow();
    setFocus();
}

void frmDietDetails::hideEvent(QHideEvent* event) {
    qApp->removeEventFilter(this);
    QWidget::hideEvent(event);
}

bool frmDietDetails::eventFilter(QObject* watched, QEvent* event) {
    // A press anywhere else closes the window and still does what it does there (selects the
    // entry clicked beside it, say): the press is passed on, not swallowed.
    if (event->type() == QEvent::MouseButtonPress && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if (widget->window() != this)
            Form_LostFocus();
    }
    return QWidget::eventFilter(watched, event);
}

void frmDietDetails::keyPressEvent(QKeyEvent* event) {
    Form_KeyDown(treeKeyCodeOf(event->key()), treeShiftOf(event->modifiers()));
    event->accept();
}

bool frmDietDetails::event(QEvent* event) {
    // Turning to another window, or leaving the program, closes it too.
    if (event->type() == QEvent::WindowDeactivate && isVisible())
        Form_LostFocus();
    return QWidget::event(event);
}
