#include "dialogs/Prompt.h"

#include "dialogs/OpenDialog.h"
#include "dialogs/SaveDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStandardPaths>

Answer DialogPrompt::ask(QWidget* parent, const Message& message)
{
    QMessageBox box(parent);
    box.setWindowTitle(message.caption);
    box.setTextFormat(Qt::PlainText);
    box.setText(message.text);
    // In the order of Message::Icon.
    const QMessageBox::Icon icons[] = {QMessageBox::Information, QMessageBox::Question,
                                       QMessageBox::Warning};
    box.setIcon(icons[int(message.icon)]);
    const auto yesOrNo = message.defaultButton == Answer::No ? QMessageBox::No : QMessageBox::Yes;
    switch (message.buttons) {
    case Message::Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Message::Buttons::YesNo: {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(yesOrNo);
        // Esc or closing the box is no answer: a hidden Cancel takes them, so that
        // neither can throw work away as No would.
        QPushButton* cancel = box.addButton(QMessageBox::Cancel);
        cancel->hide();
        box.setEscapeButton(cancel);
        break;
    }
    case Message::Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(yesOrNo);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    }
    box.exec();
    switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Ok:
        return Answer::Ok;
    default:
        return message.buttons == Message::Buttons::Ok ? Answer::Ok : Answer::Cancel;
    }
}

std::optional<QString> DialogPrompt::chooseProjectToOpen(QWidget* parent,
                                                         const Workspace& workspace)
{
    OpenDialog dialog(workspace, *this, parent);
    dialog.exec();
    return dialog.chosenPath();
}

std::optional<QString> DialogPrompt::chooseProjectToSave(QWidget* parent,
                                                         const Workspace& workspace)
{
    SaveDialog dialog(workspace, *this, parent);
    dialog.exec();
    return dialog.chosenPath();
}

std::optional<QString> DialogPrompt::chooseExportFile(QWidget* parent, const QString& caption,
                                                      const QString& suggestedName,
                                                      const QString& filter)
{
    // The first export starts where the user keeps documents, not among the projects beside
    // the program; later ones where the last went.
    const QFileInfo suggested(suggestedName);
    QString folder = suggested.isAbsolute()
                         ? suggested.absolutePath()
                         : QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    QFileDialog dialog(parent, caption, folder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(suggested.suffix());
    dialog.selectFile(suggested.fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

bool DialogPrompt::choosePrinter(QWidget* parent, QPrinter& printer)
{
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}
