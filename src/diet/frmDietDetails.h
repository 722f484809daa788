#pragma once
// The day-totals window: a small borderless grey panel with the eight nutrient values of a diet
// day or entry. It is a quick look: Escape, or turning anywhere else, closes and unloads it.
#include <QString>
#include <QVariant>
#include <QWidget>
#include <array>

class QFrame;
class QGridLayout;
class QLabel;
class QLineEdit;

class frmDietDetails : public QWidget {
    Q_OBJECT
public:
    explicit frmDietDetails(QWidget* owner = nullptr);

    QFrame* Shape1;
    QLabel* Label1;
    QLineEdit* txtFat;
    QLabel* Label2;
    QLineEdit* txtCarb;
    QLabel* Label8;
    QLineEdit* txtProtein;
    QLabel* Label7;
    QLineEdit* txtCalorie;
    QLabel* Label6;
    QLineEdit* txtCholesterol;
    QLabel* Label5;
    QLineEdit* txtSodium;
    QLabel* lblOther1;
    QLineEdit* txtOther1;
    QLabel* lblOther2;
    QLineEdit* txtOther2;

    // For a day: the row of `column` (a Nutrients column) shows `value` against its daily
    // target, "12.5 of 70 (18%)", with a bar beside it.
    void showTarget(const QString& column, const QVariant& value, double target);

    void Form_KeyDown(int keyCode, int shift);
    void Form_LostFocus();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();

    struct Row {
        const char* column;
        QLabel* label;
        QLineEdit* box;
    };
    std::array<Row, 8> rows{};
    QGridLayout* grid = nullptr;
};
