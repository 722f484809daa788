// Day totals: the eight nutrient values of the selected diet entry, or the sums of the selected
// day, in a small window over the diet tree.
#include "DietLog.h"

#include "DailyTargets.h"
#include "DietNodes.h"
#include "Module1.h"
#include "NumberText.h"
#include "TreeControl.h"
#include "clsFWSDataSource.h"
#include "frmDietDetails.h"

#include <QLineEdit>
#include <QScreen>

#include <algorithm>

namespace {
// Fills the boxes; a value that is not there shows empty.
void fillTotals(frmDietDetails& f, const Nutrients& totals) {
    auto value = [&](const char* column) {
        return NutrientText(totals.value(QString::fromLatin1(column)));
    };
    f.txtFat->setText(value("Fat"));
    f.txtCarb->setText(value("Carbohydrate"));
    f.txtProtein->setText(value("Protein"));
    f.txtCalorie->setText(value("Calorie"));
    f.txtCholesterol->setText(value("Cholesterol"));
    f.txtSodium->setText(value("Sodium"));
    f.txtOther1->setText(value("Other1"));
    f.txtOther2->setText(value("Other2"));
}

// Keeps a window of that size whole on the screen `near` is on.
QPoint onScreen(QPoint at, const QSize& size, const QWidget* near) {
    if (const QScreen* screen = near->screen()) {
        const QRect area = screen->availableGeometry();
        at.setX(std::clamp(at.x(), area.left(),
                           std::max(area.left(), area.right() + 1 - size.width())));
        at.setY(std::clamp(at.y(), area.top(),
                           std::max(area.top(), area.bottom() + 1 - size.height())));
    }
    return at;
}
} // namespace

void DietLog::ShowDietTotals() {
    const TreeNode* node = tvwDiet->selectedNode();
    if (!node)
        return;
    Nutrients totals;
    DailyTargets targets; // a day's totals are held against them, an entry's are not
    if (node->Tag() == kDietItem) {
        // The node click put rscmdDietData on the entry; without a current row the boxes stay
        // empty rather than show another entry's values.
        const Recordset* entry = gDataSource->rscmdDietData.get();
        if (entry && entry->hasCurrentRow())
            totals = Nutrients::read(*entry);
    } else {
        gDataSource->cmdDietTotal(dateOf(node), gCurrentUser);
        Recordset& sums = *gDataSource->rscmdDietTotal;
        if (sums.hasCurrentRow())
            totals = Nutrients::read(sums, QStringLiteral("t"));
        sums.Close();
        targets = DailyTargets::load(gCurrentUser);
    }
    auto* details = new frmDietDetails(parts.window);
    fillTotals(*details, totals);
    for (const QString& column : Nutrients::columns())
        if (const auto target = targets.value(column))
            details->showTarget(column, totals.value(column), *target);
    // Across from the middle of the tree's span, centred on it vertically, in the coordinates of
    // the window's inner area; the same proportions hold in twips and in pixels.
    const QRect tree = tvwDiet->geometry();
    const QPoint at((tree.left() + tree.width()) / 2,
                    tree.top() + (tree.height() - details->height()) / 2);
    details->move(
        onScreen(tvwDiet->parentWidget()->mapToGlobal(at), details->size(), parts.window));
    details->show();
}
