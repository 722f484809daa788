#include "frmFoodData.h"

#include "Config.h"
#include "LineLimit.h"
#include "Module1.h"
#include "NumberText.h"
#include "Seams.h"
#include "Serving.h"
#include "clsFWSDataSource.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <cmath>

bool sharesDisagree(double fat, double carbohydrate, double protein, double calories) {
    const double implied = 9 * fat + 4 * carbohydrate + 4 * protein;
    if (implied == 0)
        return false; // no grams given: nothing to compare with
    const double apart = std::fabs(implied - calories);
    return apart > 20 && apart > 0.2 * std::fabs(calories);
}

namespace {
QString threeDecimals(double value) {
    return decimalText(value, 3);
}
} // namespace

frmFoodData::frmFoodData(QWidget* parent) : ModalDialog(parent) {
    setObjectName(QStringLiteral("frmFoodData"));
    setWindowTitle(QStringLiteral("Food Item Details"));
    auto* grid = new QGridLayout(this);
    const auto label = [&](const QString& caption, QWidget* buddy, int row, int column) {
        auto* l = new QLabel(caption, this);
        l->setBuddy(buddy); // a screen reader names the box by its label
        grid->addWidget(l, row, column);
        return l;
    };
    txtFoodName = new QLineEdit(this);
    txtFoodName->setObjectName(QStringLiteral("txtFoodName"));
    limitLength(txtFoodName, 200);
    cmbServSize = new QComboBox(this);
    cmbServSize->setObjectName(QStringLiteral("cmbServSize"));
    cmbServSize->setEditable(true);
    cmbServSize->setInsertPolicy(QComboBox::NoInsert);
    cmbGroups = new QComboBox(this);
    cmbGroups->setObjectName(QStringLiteral("cmbGroups"));
    label(QStringLiteral("Food Name"), txtFoodName, 0, 0);
    grid->addWidget(txtFoodName, 0, 1, 1, 3);
    label(QStringLiteral("Serving Size"), cmbServSize, 1, 0);
    grid->addWidget(cmbServSize, 1, 1, 1, 3);
    label(QStringLiteral("Food Group"), cmbGroups, 2, 0);
    grid->addWidget(cmbGroups, 2, 1, 1, 3);

    const auto box = [&](QLineEdit*& edit, const char* name) {
        edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setMaxLength(12);
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        edit->installEventFilter(this);
        connect(edit, &QLineEdit::textChanged, this, [this] {
            if (!filling)
                changed = true;
            checkCalories();
        });
    };
    box(txtFat, "txtFat");
    box(txtCarbs, "txtCarbs");
    box(txtProtein, "txtProtein");
    box(txtCalories, "txtCalories");
    box(txtSodium, "txtSodium");
    box(txtCholesterol, "txtCholesterol");
    box(txtOther1, "txtOther1");
    box(txtOther2, "txtOther2");
    txtFoodName->installEventFilter(this);
    // A value box with its label to the left.
    const auto field = [&](const QString& caption, QLineEdit* edit, int row, int column) {
        grid->addWidget(edit, row, column + 1);
        return label(caption, edit, row, column);
    };
    field(QStringLiteral("Fat"), txtFat, 3, 0);
    field(QStringLiteral("Carbs"), txtCarbs, 4, 0);
    field(QStringLiteral("Protein"), txtProtein, 5, 0);
    field(QStringLiteral("Calories"), txtCalories, 6, 0);
    field(QStringLiteral("Sodium"), txtSodium, 3, 2);
    field(QStringLiteral("Cholesterol"), txtCholesterol, 4, 2);
    lblOther1 = field(QStringLiteral("Other 1"), txtOther1, 5, 2);
    lblOther1->setObjectName(QStringLiteral("lblOther1"));
    lblOther2 = field(QStringLiteral("Other 2"), txtOther2, 6, 2);
    lblOther2->setObjectName(QStringLiteral("lblOther2"));
    lblCalorieCheck = new QLabel(this);
    lblCalorieCheck->setObjectName(QStringLiteral("lblCalorieCheck"));
    grid->addWidget(lblCalorieCheck, 7, 0, 1, 4);

    txtNewFood = new QLineEdit(this);
    txtNewFood->setObjectName(QStringLiteral("txtNewFood"));
    txtNewFood->hide();
    cmdSave = new QPushButton(QStringLiteral("Save"), this);
    cmdSave->setObjectName(QStringLiteral("cmdSave"));
    cmdSave->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(cmdSave, QDialogButtonBox::AcceptRole);
    buttons->addButton(cmdCancel, QDialogButtonBox::RejectRole);
    grid->addWidget(buttons, 8, 0, 1, 4);

    connect(cmdSave, &QPushButton::clicked, this, &frmFoodData::cmdSave_Click);
    connect(cmdCancel, &QPushButton::clicked, this,
            [this] { closeWith(QStringLiteral("CANCEL")); });
    connect(cmbServSize, &QComboBox::activated, this, &frmFoodData::cmbServSize_Click);
}

QString frmFoodData::captionOf(const QWidget* box) const {
    for (const QLabel* label : findChildren<QLabel*>())
        if (label->buddy() == box)
            return label->text();
    return QString();
}

std::array<QLineEdit*, 8> frmFoodData::boxes() const {
    // Fat, Protein, Carbohydrate, Calorie, Sodium, Cholesterol, Other1, Other2.
    return {txtFat,    txtProtein,     txtCarbs,  txtCalories,
            txtSodium, txtCholesterol, txtOther1, txtOther2};
}

void frmFoodData::fillValues(double ratio) {
    shown = food.values.scaled(ratio);
    filling = true;
    for (int i = 0; i < Nutrients::Count; ++i) {
        shownText[size_t(i)] = threeDecimals(shown.value(i).toDouble());
        boxes()[size_t(i)]->setText(shownText[size_t(i)]);
    }
    filling = false;
    changed = false;
}

void frmFoodData::Form_Load(const FoodClipRecord& shownFood) {
    food = shownFood;
    lblOther1->setText(GetConfigValue(QStringLiteral("OTHER1")));
    lblOther2->setText(GetConfigValue(QStringLiteral("OTHER2")));
    fillValues(1.0);
    txtFoodName->setText(food.FoodName);
    const auto fill = [](QComboBox* list, Recordset* rs, const QString& column) {
        if (!rs)
            return;
        for (; !rs->eof(); rs->MoveNext())
            list->addItem(rs->Fields(column).toString());
        if (list->count() > 0)
            rs->MoveFirst();
    };
    fill(cmbGroups, gDataSource->rscmdAvailGroups.get(), QStringLiteral("GroupName"));
    fill(cmbServSize, gDataSource->rscmdMeasures.get(), QStringLiteral("MSRE_DESC"));
    cmbGroups->setCurrentIndex(-1);
    cmbServSize->setCurrentIndex(-1);
    rememberedMeasure = 0;
}

void frmFoodData::prepareNew(const FoodClipRecord& newFood, bool chooseGroup) {
    Form_Load(newFood);
    txtNewFood->setText(QStringLiteral("YES"));
    if (!chooseGroup)
        cmbGroups->setCurrentIndex(int(GroupListIndex(food.GroupId)));
    cmbServSize->setEditText(food.ServingSize);
}

void frmFoodData::prepareExisting(const FoodClipRecord& existing) {
    Form_Load(existing);
    txtNewFood->setText(QStringLiteral("NO"));
    if (cmbServSize->count() > 0)
        chooseMeasure(int(FindMeasureIndex(food.USDA_MSRE_NO)));
    else
        cmbServSize->setEditText(food.ServingSize);
    cmbGroups->setCurrentIndex(int(GroupListIndex(food.GroupId)));
    // An original USDA food keeps its standard values; Other 1 and 2 stay the user's.
    if (food.isOriginal())
        for (QLineEdit* box :
             {txtCalories, txtCarbs, txtCholesterol, txtFat, txtProtein, txtSodium})
            box->setEnabled(false);
    // Foods move between groups by dragging, not here.
    cmbGroups->setEnabled(false);
}

void frmFoodData::chooseMeasure(int index) {
    cmbServSize->setCurrentIndex(index);
    cmbServSize_Click(index);
}

void frmFoodData::cmbServSize_Click(int index) {
    const double stored = food.USDA_GM_WT;
    Recordset* measures = gDataSource->rscmdMeasures.get();
    if (stored != 0 && measures && !measures->eof() && index >= 0) {
        FindMeasure(index, 0);
        if (index != rememberedMeasure) {
            if (changed &&
                MsgBox(QStringLiteral("Changing the Serving Size will overwrite the USDA Nutrient "
                                      "values that you have changed.  ") +
                           QStringLiteral("Do you wish to continue?"),
                       vbYesNo, QStringLiteral("Forkwise")) != vbYes) {
                cmbServSize->setCurrentIndex(rememberedMeasure);
                return;
            }
            // Always from the stored values: A, B, then A again shows A's values.
            fillValues(
                gramWeightRatio(stored, measures->Fields(QStringLiteral("GM_WT")).toDouble()));
        }
    }
    rememberedMeasure = cmbServSize->currentIndex();
}

void frmFoodData::checkCalories() {
    double v[4] = {};
    QLineEdit* const used[4] = {txtFat, txtCarbs, txtProtein, txtCalories};
    for (int i = 0; i < 4; ++i)
        if (!parseNumber(used[i]->text(), &v[i])) {
            lblCalorieCheck->clear();
            disagree = false;
            return;
        }
    const double implied = 9 * v[0] + 4 * v[1] + 4 * v[2];
    disagree = sharesDisagree(v[0], v[1], v[2], v[3]);
    QString text = QStringLiteral("From fat, carbs and protein: %1 kcal").arg(std::lround(implied));
    if (disagree)
        text += QStringLiteral("  (the Calories above differ: please check)");
    lblCalorieCheck->setText(text);
    lblCalorieCheck->setStyleSheet(disagree ? QStringLiteral("color: #b00000; font-weight: bold")
                                            : QString());
}

bool frmFoodData::eventFilter(QObject* watched, QEvent* event) {
    // A box that takes the focus has its whole text selected, ready to be typed over.
    if (event->type() == QEvent::FocusIn)
        if (auto* edit = qobject_cast<QLineEdit*>(watched))
            QTimer::singleShot(0, edit, [edit] { edit->selectAll(); });
    return ModalDialog::eventFilter(watched, event);
}

void frmFoodData::cmdSave_Click() {
    if (saveFoodData())
        closeWith(QStringLiteral("SAVE"));
}

bool frmFoodData::saveFoodData() {
    // The box at fault takes the focus, ready to be typed over.
    const auto refuse = [](const QString& message, QWidget* fault = nullptr) {
        MsgBox(message, vbExclamation | vbOKOnly, QStringLiteral("Forkwise"));
        if (fault)
            fault->setFocus();
        return false;
    };
    if (txtFoodName->text().trimmed().isEmpty())
        return refuse(QStringLiteral("You must enter a Food Name."), txtFoodName);
    // A box left as it was shown keeps the exact value behind its three decimals; only typed
    // text is converted, and only typed values are held to the range: one rescaled from the
    // catalogue may be large (the sodium of a cup of salt), and an original USDA food's standard
    // values cannot be typed over.
    Nutrients values = shown;
    QLineEdit* outOfRange = nullptr;
    for (int i = 0; i < Nutrients::Count; ++i) {
        QLineEdit* box = boxes()[size_t(i)];
        double v = 0;
        if (!parseNumber(box->text(), &v))
            return refuse(QStringLiteral("All Nutritional Data Values must be numeric."));
        if (box->text() == shownText[size_t(i)])
            continue;
        values.set(i, v);
        if (!outOfRange && (v < 0 || v > kMostNutrient))
            outOfRange = box;
    }
    if (outOfRange)
        return refuse(captionOf(outOfRange) + QStringLiteral(" must be between 0 and 100,000."),
                      outOfRange);
    Recordset* measures = gDataSource->rscmdMeasures.get();
    const bool hasMeasures = measures && measures->RecordCount() > 0;
    const long ndb = food.USDA_NDB_NO;
    // A typed text that matches no list entry is a serving size of the user's own.
    const int chosen = cmbServSize->findText(cmbServSize->currentText());
    if (food.isOriginal()) {
        if (chosen < 0 && hasMeasures)
            return refuse(
                QStringLiteral("You can not enter a new Serving Size for an original USDA Food "
                               "Item.  If you ") +
                QStringLiteral("wish to have a different Serving Size for this Food Item, make a "
                               "copy of it ") +
                QStringLiteral("and edit the copy."));
    } else if (cmbServSize->currentText().trimmed().isEmpty()) {
        return refuse(QStringLiteral("You must enter a Serving Size."));
    }
    if (cmbGroups->currentIndex() < 0)
        return refuse(QStringLiteral("You must select one of the available Food Groups.  If you "
                                     "want to associate ") +
                      QStringLiteral("this Food Item with another Food Group, you must first Add "
                                     "the new Food Group on the ") +
                      QStringLiteral("Forkwise Main Window."));
    edited = food;
    edited.values = values;
    edited.FoodName = txtFoodName->text();
    edited.ServingSize = cmbServSize->currentText();
    try {
        if (ndb != 0 && chosen >= 0 && hasMeasures) {
            FindMeasure(chosen, 0);
            edited.USDA_MSRE_NO = long(measures->Fields(QStringLiteral("MSRE_NO")).toLongLong());
            edited.USDA_GM_WT = measures->Fields(QStringLiteral("GM_WT")).toDouble();
        } else if (ndb != 0) {
            // A serving size of the user's own: the food leaves the USDA data.
            edited.USDA_NDB_NO = edited.USDA_MSRE_NO = 0;
            edited.USDA_GM_WT = 0;
        }
        if (txtNewFood->text() == u"YES") {
            FindAvailGroup(cmbGroups->currentIndex(), 0);
            edited.GroupId =
                long(gDataSource->rscmdAvailGroups->Fields(QStringLiteral("GroupId")).toLongLong());
        }
    } catch (const DbError&) {
        showAppError(kFoodFieldsPhrase);
        return false;
    }
    return true;
}
