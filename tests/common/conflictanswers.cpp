#include "common/conflictanswers.h"

#include "page/frmConflicts.h"

#include <QApplication>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

ConflictAnswers::ConflictAnswers(QStringList buttons) : buttons_(std::move(buttons))
{
    timer_.setInterval(20);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        auto* dialog = qobject_cast<frmConflicts*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        ++shown;
        if (whenShown)
            whenShown();
        for (const QString& name : buttons_) {
            if (name == QLatin1String("m"))
                QTest::keyClick(dialog->tblConflicts, Qt::Key_M);
            else if (name == QLatin1String("return"))
                QTest::keyClick(dialog->tblConflicts, Qt::Key_Return);
            else
                dialog->findChild<QPushButton*>(name)->click();
        }
        QTableWidget* table = dialog->tblConflicts;
        for (int r = 0; r < table->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < table->columnCount(); ++c)
                cells << table->item(r, c)->text();
            rows << cells.join(u'|');
        }
    });
    timer_.start();
}
