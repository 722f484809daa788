#pragma once
// "Diet Activity Report": the current user's diet activity of a date range as rich text over a
// chart of calories per day, with Print, Export... and Done. Screen, paper and files all come
// from the same rows and print lines.
#include "CalorieChart.h"
#include "ReportBuilder.h"
#include "ReportPrinting.h"

#include <QDate>
#include <QDialog>

class CalorieChartView;
class QPushButton;
class ReportTextView;

class frmReport : public QDialog {
    Q_OBJECT
public:
    explicit frmReport(QWidget* parent = nullptr);

    // Reads the rows of rscmdDietReport, the range lo to hi, and shows their report; the range
    // is added to the caption and kept in strDateRange ("mm/dd/yy - mm/dd/yy") for the printed
    // title.
    void Form_Load(const QDate& lo, const QDate& hi);

    QPushButton* cmdPrint = nullptr;
    QPushButton* cmdExport = nullptr;
    QPushButton* cmdQuit = nullptr;
    ReportTextView* rtReport = nullptr;
    CalorieChartView* picCalories = nullptr;
    QString strDateRange;
    PrintLineList PrintLines;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void setDateRange(const QDate& lo, const QDate& hi);
    void BuildReport();
    void releaseMemory();
    void Form_Resize();
    void cmdPrint_Click();
    void cmdExport_Click();
    // Without any printer installed the pages go into a new PDF in the documents folder.
    void printToDocuments(const PrintHeader& header);
    PrintHeader printHeader() const;
    // "Diet Activity Report 2026-01-05 to 2026-01-11": the job's and the files' name.
    QString rangeName() const;

    ReportLabels labels;
    ReportTargets targets;
    QDate loDate;
    QDate hiDate;
};

// Tools > Produce Diet Report: asks for a date range and shows the current user's report of it.
void ProduceDietReport(QWidget* parent);
