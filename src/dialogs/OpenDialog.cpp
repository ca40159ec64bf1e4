#include "dialogs/OpenDialog.h"

#include "dialogs/Prompt.h"
#include "storage/Workspace.h"
#include "widgets/Fonts.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Nothing is chosen until the user picks a name: a list taking the focus must not put
// an unselected current row under the keyboard, so that the first Down selects the
// first name.
class ProjectList : public QListWidget
{
public:
    using QListWidget::QListWidget;

protected:
    void focusInEvent(QFocusEvent* event) override
    {
        QListWidget::focusInEvent(event);
        if (selectedItems().isEmpty())
            selectionModel()->clearCurrentIndex();
    }

    // With no current row every move lands on the first name; End and Page Down must
    // still go to the last name or a page on.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override
    {
        if (!currentIndex().isValid() && count() > 0) {
            if (action == MoveEnd)
                return model()->index(count() - 1, 0);
            if (action == MovePageDown)
                selectionModel()->setCurrentIndex(model()->index(0, 0),
                                                  QItemSelectionModel::NoUpdate);
        }
        return QListWidget::moveCursor(action, modifiers);
    }
};

} // namespace

OpenDialog::OpenDialog(const Workspace& workspace, Prompt& prompt, QWidget* parent)
    : QDialog(parent), m_workspace(workspace), m_prompt(prompt)
{
    setObjectName(QStringLiteral("frmOpen"));
    setWindowTitle(QStringLiteral("Open Project"));
    setModal(true);

    auto* heading = new QLabel(QStringLiteral("Select a Project to Open:"), this);
    heading->setObjectName(QStringLiteral("Label1"));
    heading->setFont(Fonts::verdana(11.25, true));

    m_files = new ProjectList(this);
    m_files->setObjectName(QStringLiteral("File1"));
    m_files->setFont(Fonts::verdana(11.25));
    m_files->setSelectionMode(QAbstractItemView::SingleSelection);
    m_files->setMinimumSize(340, 220);

    auto* open = new QPushButton(QStringLiteral("Open"), this);
    open->setObjectName(QStringLiteral("cmdOpen"));
    open->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    cancel->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(m_files);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(open);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    connect(open, &QPushButton::clicked, this, &OpenDialog::cmdOpen_Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_files, &QListWidget::itemDoubleClicked, this, &OpenDialog::cmdOpen_Click);
    refreshListing();
}

void OpenDialog::refreshListing()
{
    const QListWidgetItem* current = m_files->currentItem();
    const QString selected = current && current->isSelected() ? current->text() : QString();
    const QDir folder(m_workspace.projectsFolder());
    const QStringList names = folder.exists()
                                  ? folder.entryList({QStringLiteral("*.gpj")}, QDir::Files,
                                                     QDir::Name | QDir::IgnoreCase)
                                  : QStringList();
    m_files->clear();
    m_files->addItems(names);
    if (!selected.isEmpty()) {
        const auto found = m_files->findItems(selected, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (!found.isEmpty())
            m_files->setCurrentItem(found.first());
    }
}

void OpenDialog::cmdOpen_Click()
{
    const QListWidgetItem* item = m_files->currentItem();
    if (!item || !item->isSelected()) {
        m_prompt.inform(this, QStringLiteral("Please select a file."),
                        QStringLiteral("Missing Info"));
        return;
    }
    m_chosen = m_workspace.projectPath(item->text());
    accept();
}
