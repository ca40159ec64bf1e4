#pragma once

#include "widgets/KeyHelp.h"

#include <QDialog>

// Every key the window answers, as a table a screen reader reads row by row. Not modal.
class ShortcutsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ShortcutsDialog(const QList<KeyHelp>& rows, QWidget* parent = nullptr);
};
