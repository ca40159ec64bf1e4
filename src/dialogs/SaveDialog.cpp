#include "dialogs/SaveDialog.h"

#include "dialogs/Prompt.h"
#include "storage/FileNameRules.h"
#include "storage/Workspace.h"
#include "widgets/Fonts.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

SaveDialog::SaveDialog(const Workspace& workspace, Prompt& prompt, QWidget* parent)
    : QDialog(parent), m_workspace(workspace), m_prompt(prompt)
{
    setObjectName(QStringLiteral("frmSave"));
    setWindowTitle(QStringLiteral("Save Project"));
    setModal(true);

    auto* heading = new QLabel(QStringLiteral("Select a Project to Open:"), this);
    heading->setObjectName(QStringLiteral("Label2"));
    heading->setFont(Fonts::verdana(11.25, true));

    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("txtSave"));
    m_name->setFont(Fonts::verdana(11.25));
    m_name->setMinimumWidth(260);

    auto* extension = new QLabel(QStringLiteral(".gpj"), this);
    extension->setObjectName(QStringLiteral("Label1"));
    extension->setFont(Fonts::verdana(11.25));

    auto* hint = new QLabel(QStringLiteral("Please don't use spaces or special characters."), this);
    hint->setObjectName(QStringLiteral("Label3"));
    hint->setFont(Fonts::verdana(9));

    auto* save = new QPushButton(QStringLiteral("Save"), this);
    save->setObjectName(QStringLiteral("cmdOpen"));
    save->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    cancel->setAutoDefault(false);

    auto* grid = new QGridLayout(this);
    grid->addWidget(heading, 0, 0, 1, 2);
    grid->addWidget(m_name, 1, 0);
    grid->addWidget(extension, 1, 1);
    grid->addWidget(hint, 2, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 3, 0, 1, 2);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    connect(save, &QPushButton::clicked, this, &SaveDialog::cmdOpen_Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_name->setFocus();
}

void SaveDialog::cmdOpen_Click()
{
    const QString name = m_name->text();
    switch (FileNameRules::check(name)) {
    case FileNameRules::Verdict::Empty:
        m_prompt.inform(this, QStringLiteral("Please enter a name for the file."),
                        QStringLiteral("Missing Info"));
        return;
    case FileNameRules::Verdict::Invalid:
        m_prompt.inform(this, QStringLiteral("Please remove any spaces and/or special characters."),
                        QStringLiteral("Invalid Name"));
        return;
    case FileNameRules::Verdict::TooLong:
        m_prompt.inform(this, QStringLiteral("Please use a shorter name."),
                        QStringLiteral("Name Too Long"));
        return;
    case FileNameRules::Verdict::Ok:
        break;
    }
    const QString path = m_workspace.projectPath(name + QStringLiteral(".gpj"));
    if (QFileInfo(path).isDir()) {
        m_prompt.inform(this, QStringLiteral("Folder already exists. Please choose another name."),
                        QStringLiteral("Folder Already Exists"));
        return;
    }
    if (QFileInfo(path).isFile()) {
        const Answer answer =
            m_prompt.ask(this, {QStringLiteral("File already exists. Want to overwrite it?"),
                                QStringLiteral("File Already Exists"), Message::Icon::Question,
                                Message::Buttons::YesNo});
        if (answer != Answer::Yes)
            return;
    }
    m_chosen = path;
    accept();
}
