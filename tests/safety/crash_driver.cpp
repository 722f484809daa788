// forkwise_crash_driver PROGRAM_DIR SEED: the program on PROGRAM_DIR/Data/ForkData.mdb, offscreen,
// adding, editing and deleting today's diet entries through the main window's own handlers
// until it is killed. Each command that has completed is written on a line of its own:
// "ADD id servings", "EDIT id servings", "DEL id". "STARTED" comes first; any message box ends
// the run with "BOX" and its text.
#include "DietLog.h"
#include "DietNodes.h"
#include "FoodNodes.h"
#include "Module1.h"
#include "Module1App.h"
#include "Recordset.h"
#include "Seams.h"
#include "ShowModal.h"
#include "TreeControl.h"
#include "TreeNode.h"
#include "clsFWSDataSource.h"
#include "dlgServings.h"
#include "frmMain.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

void say(const QString& line) {
    std::fputs(qPrintable(line + u'\n'), stdout);
    std::fflush(stdout);
}

void click(TreeControl* tree, TreeNode* node) {
    tree->selectNode(node);
    Q_EMIT tree->NodeClick(node);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QApplication app(argc, argv);
    if (argc != 3)
        return 2;
    setMsgBoxHandler([](const QString& prompt, int, const QString&) {
        if (prompt.startsWith(QStringLiteral("Are you sure you want to Delete the")))
            return int(vbYes);
        say(QStringLiteral("BOX ") + prompt);
        std::_Exit(3);
    });
    if (!startProgram(QString::fromLocal8Bit(argv[1])) || !gMainForm) {
        say(QStringLiteral("START FAILED"));
        return 2;
    }
    say(QStringLiteral("STARTED"));
    frmMain& w = *gMainForm;
    std::vector<TreeNode*> foods;
    for (int i = 0; i < w.tvwFood->topLevelItemCount(); ++i)
        if (TreeNode* top = TreeNode::of(w.tvwFood->topLevelItem(i)); top->Tag() == kFavorite)
            for (int c = 0; c < top->Children(); ++c)
                foods.push_back(top->Child(c));
    std::vector<long> ids; // today's entries
    {
        auto rs = Recordset::openSnapshot(
            gDataSource->appDB,
            QStringLiteral("SELECT DietId FROM DietActivity WHERE DietDate = ?"),
            {Clock::today().toString(Qt::ISODate)});
        for (; !rs->eof(); rs->MoveNext())
            ids.push_back(long(rs->Fields(QStringLiteral("DietId")).toLongLong()));
    }
    std::mt19937 rng(unsigned(std::atoi(argv[2])));
    // Selects an entry of today's, loading the day first.
    const auto selectEntry = [&](long id) {
        TreeNode* day = w.tvwDiet->Item(dayKey(Clock::today()));
        if (day && day->Children() == 0) {
            click(w.tvwDiet, day);
            Q_EMIT w.tvwDiet->DblClick();
        }
        TreeNode* entry = w.tvwDiet->Item(entryKey(id));
        if (entry)
            click(w.tvwDiet, entry);
        return entry != nullptr;
    };
    for (;;) {
        const unsigned op = ids.size() < 3 ? 0 : rng() % 3;
        if (op == 0) {
            Q_EMIT w.tvwFood->GotFocus();
            click(w.tvwFood, foods[rng() % foods.size()]);
            Q_EMIT w.tvwFood->DblClick();
            const long id =
                long(Recordset::openSnapshot(gDataSource->appDB,
                                             QStringLiteral("SELECT KeyValue FROM TableKey WHERE "
                                                            "KeyName = 'DIETACTIVITY'"))
                         ->Fields(QStringLiteral("KeyValue"))
                         .toLongLong());
            ids.push_back(id);
            say(QStringLiteral("ADD %1 1").arg(id));
            continue;
        }
        const size_t at = rng() % ids.size();
        const long id = ids[at];
        Q_EMIT w.tvwDiet->GotFocus();
        if (!selectEntry(id)) {
            say(QStringLiteral("LOST %1").arg(id));
            return 4;
        }
        if (op == 1) {
            const double servings = 0.5 + int(rng() % 20) * 0.25;
            setModalHandler([servings](QDialog& d) {
                auto& dlg = dynamic_cast<dlgServings&>(d);
                dlg.cmbServings->setEditText(QString::number(servings));
                dlg.OKButton->click();
                return d.result();
            });
            w.action(QStringLiteral("mnuEditDietEntry"))->trigger();
            say(QStringLiteral("EDIT %1 %2").arg(id).arg(servings));
        } else {
            w.action(QStringLiteral("mnuEditDelete"))->trigger();
            ids.erase(ids.begin() + long(at));
            say(QStringLiteral("DEL %1").arg(id));
        }
    }
}
