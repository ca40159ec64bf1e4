#include "dialogs/ShortcutsDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

ShortcutsDialog::ShortcutsDialog(const QList<KeyHelp>& rows, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmShortcuts"));
    setWindowTitle(QStringLiteral("Keyboard Shortcuts"));

    auto* table = new QTableWidget(int(rows.size()), 2, this);
    table->setObjectName(QStringLiteral("tblShortcuts"));
    table->setAccessibleName(QStringLiteral("Keyboard Shortcuts"));
    table->setHorizontalHeaderLabels({QStringLiteral("Keys"), QStringLiteral("Action")});
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setTabKeyNavigation(false);
    for (int i = 0; i < rows.size(); ++i) {
        table->setItem(i, 0, new QTableWidgetItem(rows[i].keys));
        table->setItem(i, 1, new QTableWidgetItem(rows[i].what));
    }
    table->resizeColumnsToContents();
    table->resizeRowsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->setMinimumSize(table->horizontalHeader()->length() + 140, 540);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setObjectName(QStringLiteral("cmdClose"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}
