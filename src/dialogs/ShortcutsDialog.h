#pragma once

#include <QDialog>

// One key, or keys, and what it does.
struct ShortcutRow
{
    QString keys;
    QString what;
};

// Every key the window answers, as a table a screen reader reads row by row. Not modal.
class ShortcutsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ShortcutsDialog(const QList<ShortcutRow>& rows, QWidget* parent = nullptr);
};
